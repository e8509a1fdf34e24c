#include "cli/CliOptions.h"

#include "cli/CliText.h"
#include "sites/SiteTls.h"

namespace cli {
namespace {

constexpr int MaxTimeoutSeconds = 24 * 3600;

// "--name value" or "--name=value": the value, or nothing with an error.
std::optional<QString> takeValue(const QStringList &args, int &i, const QString &name, QString &error)
{
    const QString &arg = args.at(i);
    if (arg.startsWith(name + QLatin1Char('=')))
        return arg.mid(name.size() + 1);
    if (i + 1 >= args.size()) {
        error = text(Text::OptionNeedsValue, name);
        return std::nullopt;
    }
    return args.at(++i);
}

bool isOption(const QString &arg, const QString &name)
{
    return arg == name || arg.startsWith(name + QLatin1Char('='));
}

bool applyValue(CliOptions &o, const QString &name, const QString &value, QString &error)
{
    if (name == QLatin1String("--data-dir")) {
        o.dataDir = value;
    } else if (name == QLatin1String("--exists")) {
        static const struct { const char *word; ExistsPolicy policy; } policies[] = {
            {"ask", ExistsPolicy::Ask}, {"overwrite", ExistsPolicy::Overwrite},
            {"skip", ExistsPolicy::Skip}, {"cancel", ExistsPolicy::Cancel}, {"resume", ExistsPolicy::Resume}};
        for (const auto &p : policies) {
            if (value == QLatin1String(p.word)) {
                o.exists = p.policy;
                return true;
            }
        }
        error = text(Text::BadOptionValue, name, value);
    } else if (name == QLatin1String("--lang")) {
        if (value == QLatin1String("fr"))
            o.languageOffset = 0;
        else if (value == QLatin1String("en"))
            o.languageOffset = 1000;
        else
            error = text(Text::BadOptionValue, name, value);
    } else if (name == QLatin1String("--timeout")) {
        bool ok = false;
        const int seconds = value.toInt(&ok);
        if (!ok || seconds < 1 || seconds > MaxTimeoutSeconds)
            error = text(Text::BadOptionValue, name, value);
        else
            o.timeoutSeconds = seconds;
    } else if (name == QLatin1String("--parallel")) {
        bool ok = false;
        const int count = value.toInt(&ok);
        if (!ok || count < 1 || count > 10)
            error = text(Text::BadOptionValue, name, value);
        else
            o.parallel = count;
    } else if (name == QLatin1String("--retries")) {
        bool ok = false;
        const int count = value.toInt(&ok);
        if (!ok || count < 0 || count > 10)
            error = text(Text::BadOptionValue, name, value);
        else
            o.retries = count;
    } else if (name == QLatin1String("--tls")) {
        if (const auto mode = sitetls::fromKeyword(value); mode && !value.trimmed().isEmpty())
            o.tls = *mode;
        else
            error = text(Text::BadOptionValue, name, value);
    } else if (name == QLatin1String("--ca-file")) {
        if (value.isEmpty())
            error = text(Text::BadOptionValue, name, value);
        o.caFile = value;
    } else if (name == QLatin1String("--fingerprint")) {
        // 64 hex digits, colons allowed, any case.
        o.fingerprint = inet::parseFingerprint(value);
        if (o.fingerprint.isEmpty())
            error = text(Text::BadOptionValue, name, value);
    } else if (name == QLatin1String("-c")) {
        o.commands = value;
    }
    return error.isEmpty();
}

} // namespace

ParsedOptions parseArguments(const QStringList &args)
{
    ParsedOptions result;
    CliOptions &o = result.options;
    QString &error = result.error;
    static const char *const valued[] = {"--data-dir", "--exists", "--lang", "--timeout", "--parallel", "--retries",
                                         "--tls", "--ca-file", "--fingerprint", "-c"};
    bool optionsEnded = false;
    for (int i = 1; i < args.size() && error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        const QString *valuedName = nullptr;
        QString name;
        for (const char *v : valued) {
            if (!optionsEnded && isOption(arg, QLatin1String(v))) {
                name = QLatin1String(v);
                valuedName = &name;
            }
        }
        if (valuedName) {
            if (const auto value = takeValue(args, i, name, error))
                applyValue(o, name, *value, error);
        } else if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            if (!o.script.isEmpty())
                error = text(Text::TwoSources);
            o.script = arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("--passive") || arg == QLatin1String("--active")) {
            o.passive = arg == QLatin1String("--passive");
        } else if (arg == QLatin1String("--ascii") || arg == QLatin1String("--binary")) {
            o.binary = arg == QLatin1String("--binary");
        } else if (arg == QLatin1String("--keep-going")) {
            o.keepGoing = true;
        } else if (arg == QLatin1String("--tsv")) {
            o.tsv = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("--site-names")) {
            o.siteNames = true;
        } else {
            error = text(Text::UnknownOption, arg);
        }
    }
    if (error.isEmpty() && o.commands && !o.script.isEmpty())
        error = text(Text::TwoSources);
    return result;
}

} // namespace cli
