// The listing parser alone: lines per second for each family of formats, on
// listings of 20,000 entries made here, and beside them the figures of the
// parser as it was before the other families came (the formats it read
// then). Run by bench/parser, never by ctest.
//
//   parser_bench [Google Benchmark options, e.g. --benchmark_filter=unix]

#include "platform/inet/Inet.h"

#ifdef TARVO_PARSER_BEFORE
#include "ParserBefore.h"
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int kLines = 20000;

struct Family {
    const char *name;
    bool mlsd;
    bool before; // the earlier parser read this family too
    std::function<QByteArray(int)> line;
};

QByteArray n5(int i) { return QByteArray::number(i).rightJustified(5, '0'); }
QByteArray num(qint64 v) { return QByteArray::number(v); }

// One line per entry, names and sizes varying as in a real folder.
const std::vector<Family> &families()
{
    static const std::vector<Family> list = {
        {"unix", false, true, [](int i) {
             // as vsftpd writes it
             return "-rw-r--r--    1 1000     1000     " + num(i * 37).rightJustified(8) + " Jun 1" + num(i % 10)
                    + " 12:00 file_" + n5(i) + ".dat";
         }},
        {"unix-locale", false, false, [](int i) {
             return "-rw-r--r-- 1 benutzer gruppe " + num(i * 37) + " " + num(1 + i % 28) + ". Mär 2021 datei_" + n5(i)
                    + ".txt";
         }},
        {"unix-iso", false, false, [](int i) {
             return "-rw-r--r-- 1 user group " + num(i * 37) + " 2023-11-" + num(10 + i % 19) + " 14:22 iso_" + n5(i);
         }},
        {"netpresenz", false, false, [](int i) {
             return "-------r--         326  1391972  " + num(i * 37) + " Nov 22  1995 file_" + n5(i);
         }},
        {"dos", false, true, [](int i) {
             return "01-15-20  03:04PM  " + num(i * 37).rightJustified(17) + " file_" + n5(i) + ".dat";
         }},
        {"mlsd", true, true, [](int i) {
             return "type=file;size=" + num(i * 37) + ";modify=20200101120000;perm=adfr; file_" + n5(i) + ".dat";
         }},
        {"eplf", false, true, [](int i) {
             return "+i8388621." + num(i) + ",m824255902,r,s" + num(i * 37) + ",\tfile_" + n5(i) + ".dat";
         }},
        {"vms", false, false, [](int i) {
             return "FILE_" + n5(i) + ".DAT;1     3/4   25-MAR-2004 10:15:23  [STAFF,JOHN]  (RWED,RWED,RE,)";
         }},
        {"os2", false, false, [](int i) { return "  " + num(i * 37) + "  A          03-27-98   09:03  file_" + n5(i); }},
        {"netware", false, false, [](int i) {
             return "- [RWCEAFMS] owner " + num(i * 37).rightJustified(16) + "       Oct 20 15:27    file_" + n5(i);
         }},
        {"as400", false, false, [](int i) {
             return "OWNER      " + num(i * 37).rightJustified(10) + " 06/11/97 12:27:39 *STMF      file_" + n5(i);
         }},
        {"mvs", false, false, [](int i) {
             return "WORK01 3390   2003/05/13  1   15  FB      80  6160  PS  DATA.F" + n5(i);
         }},
        {"mvs-member", false, false, [](int i) {
             return "M" + n5(i) + "    01.03 2002/09/12 2002/10/01 11:34    20    20     0 USER1";
         }},
        {"tandem", false, false, [](int i) {
             return "F" + n5(i) + "       101   " + num(i * 37).rightJustified(10) + "  18-Sep-02 14:25:45  255,10 \"oooo\"";
         }},
        {"os9", false, false, [](int i) {
             return "   0.0  03/04/15 1200  ------wr      4C  " + QByteArray::number(i * 37, 16).toUpper().rightJustified(8)
                    + " file_" + n5(i);
         }},
        {"nortel", false, false, [](int i) {
             return "   " + num(i * 37).rightJustified(8) + "      NOV-29-2003  11:01:12   file_" + n5(i) + ".cfg";
         }},
        {"connect", false, false, [](int i) {
             return "-A-R------ 1 MBOX0001 " + num(1000000 + i) + " 7 Mar 3 15:33 file_" + n5(i);
         }},
        // every family is tried, and none reads them
        {"unreadable", false, false, [](int i) { return "this line " + n5(i) + " is nothing any server lists"; }},
    };
    return list;
}

QByteArray listingOf(const Family &f)
{
    QByteArray data;
    data.reserve(kLines * 80);
    for (int i = 0; i < kLines; ++i)
        data += f.line(i) + "\r\n";
    return data;
}

const QDateTime &now()
{
    static const QDateTime t(QDate(2024, 6, 15), QTime(12, 0));
    return t;
}

void run(benchmark::State &state, const Family &f, const std::function<size_t(const QByteArray &)> &parse)
{
    const QByteArray data = listingOf(f);
    const size_t wanted = QByteArrayView(f.name) == QByteArrayView("unreadable") ? 0 : size_t(kLines);
    for (auto _ : state) {
        const size_t entries = parse(data);
        if (entries != wanted) {
            state.SkipWithError("wrong number of entries");
            break;
        }
        benchmark::ClobberMemory();
    }
    state.counters["lines/s"] = benchmark::Counter(double(kLines) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}

} // namespace

int main(int argc, char **argv)
{
    // One pass of every parser over every listing first: the figures of
    // whichever runs first would otherwise include the allocator and the
    // caches settling (up to half as fast again).
    for (const Family &f : families()) {
        const QByteArray data = listingOf(f);
        inet::parseListing(data, f.mlsd, now());
#ifdef TARVO_PARSER_BEFORE
        if (f.before)
            parseBefore(data, f.mlsd, now());
#endif
    }
    for (const Family &f : families()) {
        benchmark::RegisterBenchmark(f.name, [&f](benchmark::State &state) {
            run(state, f, [&f](const QByteArray &data) { return inet::parseListing(data, f.mlsd, now()).size(); });
        })->Unit(benchmark::kMillisecond);
#ifdef TARVO_PARSER_BEFORE
        if (f.before) {
            const std::string name = std::string(f.name) + "/before";
            benchmark::RegisterBenchmark(name.c_str(), [&f](benchmark::State &state) {
                run(state, f, [&f](const QByteArray &data) { return parseBefore(data, f.mlsd, now()); });
            })->Unit(benchmark::kMillisecond);
        }
#endif
    }
#ifdef TARVO_PARSER_BEFORE
    std::printf("\"before\": the parser of commit %s\n", TARVO_PARSER_BEFORE);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
