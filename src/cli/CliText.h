#pragma once
// The command line's own texts in French and English. The engine's texts
// (session log, error texts, column captions) come from the string table;
// these are the few that only a command line needs (usage, its own errors).

#include <QString>

namespace cli {

enum class Text {
    Usage,
    Help,
    UnknownCommand,      // %1 command
    MissingArgument,     // %1 usage
    TooManyArguments,    // %1 usage
    UnterminatedQuote,
    UnknownOption,       // %1 option
    OptionNeedsValue,    // %1 option
    BadOptionValue,      // %1 option, %2 value
    TwoSources,
    ScriptUnreadable,    // %1 file, %2 reason
    NoSuchLocal,         // %1 path
    NoSuchRemote,        // %1 name
    NotLocalFolder,      // %1 path
    FilesLeft,           // %1 count
    Cancelled,           // %1 name
    BadMode,             // %1 mode
    SiteWithoutServer,   // %1 site
    SiteSaved,           // %1 site
    ListingFailed,
    ExistsQuestion,      // %1 file
    ExistsQuestionResume, // %1 file, which may be continued
    RemoteNameOnly,      // %1 name
    EmptyName,
    CaFileUnreadable,    // %1 file
};

// The text in the current language (LanguageOffset).
QString text(Text id);
QString text(Text id, const QString &a1);
QString text(Text id, const QString &a1, const QString &a2);

} // namespace cli
