#pragma once
// Numbered listing vectors, written from the descriptions of each format
// (RFC 959 and 3659, the EPLF description, the systems' own manuals). A
// vector is one entry, or one line that is not an entry; a few take two
// lines (a VMS entry wrapped onto the next line, a PDS member after its
// column header). "now" is 2024-06-15 12:00 local time.

#include <QtGlobal>

namespace parservectors {

enum class Zone { Local, Utc };
enum class Kind {
    File,
    Folder,
    Link,
    Unknown, // an entry of a kind the listing does not say
    Skipped, // understood, not an entry (a header, a total)
    Unread,  // no format understands it
};

struct Vector {
    int id;
    const char *family;
    const char *text;
    Kind kind;
    qint64 size;      // -1: not given
    bool rough;       // given in blocks or with a unit
    const char *name;
    const char *time; // "yyyy-MM-dd HH:mm:ss[.zzz]", "" when not given
    Zone zone = Zone::Local;
    const char *target = "";
    bool mlsd = false;
};

constexpr Kind F = Kind::File;
constexpr Kind D = Kind::Folder;
constexpr Kind L = Kind::Link;
constexpr Kind U = Kind::Unknown;
constexpr Kind S = Kind::Skipped;
constexpr Kind X = Kind::Unread;
constexpr Zone UTC = Zone::Utc;
constexpr Zone LOC = Zone::Local;

inline const Vector kVectors[] = {
    // ---- Unix "ls -l"
    {1, "unix", "drwxr-xr-x   2 user group  4096 Jan  1 12:00 folder", D, 4096, false, "folder", "2024-01-01 12:00:00"},
    {2, "unix", "-rw-r--r--   1 user group  1234 Mar 10  2020 file.txt", F, 1234, false, "file.txt", "2020-03-10 00:00:00"},
    {3, "unix", "-rw-r--r--   1 user  1234 Mar 10  2020 nogroup.txt", F, 1234, false, "nogroup.txt", "2020-03-10 00:00:00"},
    {4, "unix", "-rw-r--r--   1  1234 Mar 10  2020 noowner.txt", F, 1234, false, "noowner.txt", "2020-03-10 00:00:00"},
    {5, "unix", "-rw-r--r-- user group 1234 Mar 10 2020 nolinks.txt", F, 1234, false, "nolinks.txt", "2020-03-10 00:00:00"},
    {6, "unix", "-rw-r--r-- 88 Mar 10 2020 sizeonly.txt", F, 88, false, "sizeonly.txt", "2020-03-10 00:00:00"},
    {7, "unix", "-rw-r--r--   1 owner    staffers123456789 Apr  2  2021 glued.bin", F, 123456789, false, "glued.bin", "2021-04-02 00:00:00"},
    {8, "unix", "lrwxrwxrwx   1 user group     7 Feb  3 09:30 link -> target", L, 7, false, "link", "2024-02-03 09:30:00", LOC, "target"},
    {9, "unix", "lrwxrwxrwx   1 u g  4 Jan  1  2020 a -> b -> c", L, 4, false, "a", "2020-01-01 00:00:00", LOC, "b -> c"},
    {10, "unix", "lrwxrwxrwx 1 u g 12 Jan 1 2020 my link -> some dir/x", L, 12, false, "my link", "2020-01-01 00:00:00", LOC, "some dir/x"},
    {11, "unix", "-rw-r--r-- 1 user group 7 Jan 1 12:00 a -> b", F, 7, false, "a -> b", "2024-01-01 12:00:00"},
    {12, "unix", "-rw-r--r--   1 user group     5 2023-11-05 14:22 iso.txt", F, 5, false, "iso.txt", "2023-11-05 14:22:00"},
    {13, "unix", "-rw-r--r-- 1 user group 123 2020-01-02 03:04:05 isosec.txt", F, 123, false, "isosec.txt", "2020-01-02 03:04:05"},
    {14, "unix", "-rw-r--r-- 1 user group 9 2022-07-01 10:00:00.123456789 +0200 fulltime.txt", F, 9, false, "fulltime.txt", "2022-07-01 08:00:00.123", UTC},
    {15, "unix", "-rw-r--r-- 1 user group 9 2021-05-06 dateonly.txt", F, 9, false, "dateonly.txt", "2021-05-06 00:00:00"},
    {16, "unix", "-rw-r--r-- 1 user group 10 2004.07.15 dotted.txt", F, 10, false, "dotted.txt", "2004-07-15 00:00:00"},
    {17, "unix", "-rw-r--r-- 1 user group 10 1999/10/12 08:15 slashed.txt", F, 10, false, "slashed.txt", "1999-10-12 08:15:00"},
    {18, "unix", "-rw-r--r-- 1 user group 10 24-04-2003 dayfirst.txt", F, 10, false, "dayfirst.txt", "2003-04-24 00:00:00"},
    {19, "unix", "-rw-r--r-- 1 user group 10 5 Jan 2020 daymonth.txt", F, 10, false, "daymonth.txt", "2020-01-05 00:00:00"},
    {20, "unix", "-rw-r--r-- 1 benutzer gruppe 10 15. Mär 12:30 german.txt", F, 10, false, "german.txt", "2024-03-15 12:30:00"},
    {21, "unix", "-rw-r--r-- 1 u g 10 M\xe4r 15 2019 latin1.txt", F, 10, false, "latin1.txt", "2019-03-15 00:00:00"},
    {22, "unix", "-rw-r--r-- 1 u g 10 févr. 3 2022 french.txt", F, 10, false, "french.txt", "2022-02-03 00:00:00"},
    {23, "unix", "-rw-r--r-- 1 u g 10 3 décembre 2021 fr-full.txt", F, 10, false, "fr-full.txt", "2021-12-03 00:00:00"},
    {24, "unix", "drwxr-xr-x 2 u g 4096 août 21 09:05 vacances", D, 4096, false, "vacances", "2023-08-21 09:05:00"},
    {25, "unix", "-rw-r--r-- 1 u g 10 ene 7 2020 enero.txt", F, 10, false, "enero.txt", "2020-01-07 00:00:00"},
    {26, "unix", "-rw-r--r-- 1 u g 10 12 diciembre 2018 dic.txt", F, 10, false, "dic.txt", "2018-12-12 00:00:00"},
    {27, "unix", "-rw-r--r-- 1 u g 10 giu 30 2017 giugno.txt", F, 10, false, "giugno.txt", "2017-06-30 00:00:00"},
    {28, "unix", "-rw-r--r-- 1 u g 10 ott 1 2016 ottobre.txt", F, 10, false, "ottobre.txt", "2016-10-01 00:00:00"},
    {29, "unix", "-rw-r--r-- 1 u g 10 mrt 4 2015 maart.txt", F, 10, false, "maart.txt", "2015-03-04 00:00:00"},
    {30, "unix", "-rw-r--r-- 1 u g 10 mei 12 10:00 mei.txt", F, 10, false, "mei.txt", "2024-05-12 10:00:00"},
    {31, "unix", "-rw-r--r-- 1 u g 10 2020. márc. 15. hu.txt", F, 10, false, "hu.txt", "2020-03-15 00:00:00"},
    {32, "unix", "-rw-r--r-- 1 u g 10 szept 9 2014 szept.txt", F, 10, false, "szept.txt", "2014-09-09 00:00:00"},
    {33, "unix", "-rw-r--r-- 1 u g 10 maj 5 2013 maj.txt", F, 10, false, "maj.txt", "2013-05-05 00:00:00"},
    {34, "unix", "-rw-r--r-- 1 u g 10 okt 31 2012 okt.txt", F, 10, false, "okt.txt", "2012-10-31 00:00:00"},
    {35, "unix", "-rw-r--r-- 1 u g 10 out 30 2011 outubro.txt", F, 10, false, "outubro.txt", "2011-10-30 00:00:00"},
    {36, "unix", "-rw-r--r-- 1 u g 10 paź 10 2011 pazdziernik.txt", F, 10, false, "pazdziernik.txt", "2011-10-10 00:00:00"},
    {37, "unix", "-rw-r--r-- 1 u g 10 янв 2 2010 russian.txt", F, 10, false, "russian.txt", "2010-01-02 00:00:00"},
    {38, "unix", "-rw-r--r-- 1 u g 10 Şub 14 2009 turkish.txt", F, 10, false, "turkish.txt", "2009-02-14 00:00:00"},
    {39, "unix", "-rw-r--r-- 1 u g 10  1月 15 12:30 nihon.txt", F, 10, false, "nihon.txt", "2024-01-15 12:30:00"},
    {40, "unix", "-rw-r--r-- 1 u g 10 12월 25 2008 korean.txt", F, 10, false, "korean.txt", "2008-12-25 00:00:00"},
    {41, "unix", "-rw-r--r-- 1 u g 10 DEC 25 2007 upper.txt", F, 10, false, "upper.txt", "2007-12-25 00:00:00"},
    {42, "unix", "-rw-r--r-- 1 u g 10 Jan 5 2020 12:30 both.txt", F, 10, false, "both.txt", "2020-01-05 12:30:00"},
    {43, "unix", "-rw-r--r-- 1 u g 10 Jan 5 12:30:45 2019 ctime.txt", F, 10, false, "ctime.txt", "2019-01-05 12:30:45"},
    {44, "unix", "-rw-r--r-- 1 u g 10 Jan 5 12:30 2020 report.txt", F, 10, false, "2020 report.txt", "2024-01-05 12:30:00"},
    {45, "unix", "-rw-r--r-- 1 u g 10 Mar 31 24:00 midnight.txt", F, 10, false, "midnight.txt", "2024-04-01 00:00:00"},
    {46, "unix", "-rw-r--r-- 1 u g 10 2022-12-31 24:00 newyear.txt", F, 10, false, "newyear.txt", "2023-01-01 00:00:00"},
    {47, "unix", "-rw-r--r-- 1 u g 33.5k Jan 1 2020 human.txt", F, 34304, true, "human.txt", "2020-01-01 00:00:00"},
    {48, "unix", "-rw-r--r-- 1 u g 1.2M Jan 1 2020 mega.bin", F, 1258291, true, "mega.bin", "2020-01-01 00:00:00"},
    {49, "unix", "-rw-r--r-- 1 u g 4G Jan 1 2020 giga.iso", F, 4294967296LL, true, "giga.iso", "2020-01-01 00:00:00"},
    {50, "unix", "-rw-r--r--   1 root     other        531 nodate.txt", F, 531, false, "nodate.txt", ""},
    {51, "unix", "drwxr-xr-x 2 root other 512 bin", D, 512, false, "bin", ""},
    {52, "unix", "crw-rw-rw-   1 root root   1,   3 Jan  5 10:00 null", F, -1, false, "null", "2024-01-05 10:00:00"},
    {53, "unix", "brw-rw----   1 root disk   8,   0 Jan  5  2019 sda", F, -1, false, "sda", "2019-01-05 00:00:00"},
    {54, "unix", "-rw-r--r--   1 user group 5368709120 Dec 31 23:59 big.iso", F, 5368709120LL, false, "big.iso", "2023-12-31 23:59:00"},
    {55, "unix", "-rw-r--r--   1 user group    10 Jun 16 08:00 tomorrow.txt", F, 10, false, "tomorrow.txt", "2024-06-16 08:00:00"},
    {56, "unix", "-rw-r--r--   1 user group    10 Jul 20 08:00 lastyear.txt", F, 10, false, "lastyear.txt", "2023-07-20 08:00:00"},
    {57, "unix", "drwxr-xr-x   2 user group  4096 Jan  1 12:00 name with  spaces", D, 4096, false, "name with  spaces", "2024-01-01 12:00:00"},
    {58, "unix", "-rw-r--r-- 1 u g 1 Jan 1 12:00  leading", F, 1, false, " leading", "2024-01-01 12:00:00"},
    {59, "unix", "-rw-r--r--+  1 user group    12 Jan  1  2021 acl.txt", F, 12, false, "acl.txt", "2021-01-01 00:00:00"},
    {60, "unix", "-rw-r--r--@ 1 user staff 12 Jan 1 2021 mac.txt", F, 12, false, "mac.txt", "2021-01-01 00:00:00"},
    {61, "unix", "-rw-r--r--. 1 user group 12 Jan 1 2021 selinux.txt", F, 12, false, "selinux.txt", "2021-01-01 00:00:00"},
    {62, "unix", "total 48", S, -1, false, "", ""},
    {63, "unix", "drwxr-xr-x   2 0 0  4096 Jan  1 12:00 .", D, 4096, false, ".", "2024-01-01 12:00:00"},
    {64, "unix", "drwxr-xr-x   2 0 0  4096 Jan  1 12:00 ..", D, 4096, false, "..", "2024-01-01 12:00:00"},
    {65, "unix", "prw-r--r-- 1 u g 0 Jan 1 2020 fifo", F, 0, false, "fifo", "2020-01-01 00:00:00"},
    {66, "unix", "-rw-r--r-- 1 user group 100 Feb 29 10:00 leap.txt", F, 100, false, "leap.txt", "2024-02-29 10:00:00"},
    {67, "unix", "-rw-r--r-- 1 user group 7 Jan 1 12:00 caf\xc3\xa9.txt", F, 7, false, "caf\xc3\xa9.txt", "2024-01-01 12:00:00"},
    {68, "unix", "-rw-r--r-- 1 user group xx Jan 1 12:00 bad-size", X, -1, false, "", ""},
    {69, "unix", "-rw-r--r-- 1 user group 10 Jan 1 12:00", X, -1, false, "", ""},
    {70, "unix", "1234567 -rw-r--r-- 1 user group 5 Jan 1 2020 inode.txt", F, 5, false, "inode.txt", "2020-01-01 00:00:00"},
    {71, "unix", "-rw-r--r--   1 jan  staff   99 Jan  2  2022 owner-named-jan", F, 99, false, "owner-named-jan", "2022-01-02 00:00:00"},
    {72, "unix", "-rw-r--r-- 1 user group 10 1 15 12:30 month-number.txt", F, 10, false, "month-number.txt", "2024-01-15 12:30:00"},
    {73, "unix", "-rw-r--r-- 1 user group 10 12 3 2019 month-number-year.txt", F, 10, false, "month-number-year.txt", "2019-12-03 00:00:00"},
    {74, "unix", "-rw-r--r-- 1 3 4 2020 Jan 1 2020 numeric-ids", F, 2020, false, "numeric-ids", "2020-01-01 00:00:00"},
    {75, "unix", "-rw-r--r-- 1 u g 10 1月 15日 12:30 kanji-day.txt", F, 10, false, "kanji-day.txt", "2024-01-15 12:30:00"},
    // ---- numeric permissions
    {80, "numeric", "644 1 user group 120 Jan 1 2020 octal.txt", U, 120, false, "octal.txt", "2020-01-01 00:00:00"},
    {81, "numeric", "100644 1 user group 120 Jan 1 2020 typed.txt", F, 120, false, "typed.txt", "2020-01-01 00:00:00"},
    {82, "numeric", "40755 2 user group 4096 Jan 1 2020 typeddir", D, 4096, false, "typeddir", "2020-01-01 00:00:00"},
    {83, "numeric", "120777 1 user group 6 Jan 1 2020 typedlink -> dest", L, 6, false, "typedlink", "2020-01-01 00:00:00", LOC, "dest"},
    // ---- NetPresenz ("MacOS Peter")
    {90, "netpresenz", "-------r--         326  1391972  1392298 Nov 22  1995 Mac File.sit", F, 1392298, false, "Mac File.sit", "1995-11-22 00:00:00"},
    {91, "netpresenz", "drwxrwxr-x               folder        2 May 10  1996 Mac Folder", D, -1, false, "Mac Folder", "1996-05-10 00:00:00"},
    // ---- VShell
    {95, "vshell", "-rwxr-xr-x 1 owner group 206876 Apr 04, 2000 21:06 vshell.exe", F, 206876, false, "vshell.exe", "2000-04-04 21:06:00"},
    {96, "vshell", "drwxr-xr-x 1 owner group 0 Dec 12, 2002 02:13 vshelldir", D, 0, false, "vshelldir", "2002-12-12 02:13:00"},
    // ---- DOS / IIS
    {100, "dos", "01-15-20  03:04PM       <DIR>          Folder", D, -1, false, "Folder", "2020-01-15 15:04:00"},
    {101, "dos", "01-15-20  03:04AM              1234 file.txt", F, 1234, false, "file.txt", "2020-01-15 03:04:00"},
    {102, "dos", "12-31-2019  11:59PM         1,234,567 big file.zip", F, 1234567, false, "big file.zip", "2019-12-31 23:59:00"},
    {103, "dos", "2020-01-15  15:04       <DIR>          Dir24", D, -1, false, "Dir24", "2020-01-15 15:04:00"},
    {104, "dos", "01-15-20  12:00AM  10 midnight.txt", F, 10, false, "midnight.txt", "2020-01-15 00:00:00"},
    {105, "dos", "01-15-20  12:30PM  10 noon.txt", F, 10, false, "noon.txt", "2020-01-15 12:30:00"},
    {106, "dos", "04-27-00  09:09PM       <DIR>          licensed", D, -1, false, "licensed", "2000-04-27 21:09:00"},
    {107, "dos", "01-15-20  15:04  1.234.567 dots.txt", F, 1234567, false, "dots.txt", "2020-01-15 15:04:00"},
    {108, "dos", "15.01.2020  15:04  123 euro.txt", F, 123, false, "euro.txt", "2020-01-15 15:04:00"},
    {109, "dos", "01/15/2020 03:04 PM 5 slash.txt", F, 5, false, "slash.txt", "2020-01-15 15:04:00"},
    {110, "dos", "10-10-99  01:00AM  42 old.txt", F, 42, false, "old.txt", "1999-10-10 01:00:00"},
    {111, "dos", "01-15-20  13:04PM  42 bad-clock.txt", X, -1, false, "", ""},
    {112, "dos", "25-12-2019  08:00  7 dayfirst.txt", F, 7, false, "dayfirst.txt", "2019-12-25 08:00:00"},
    {113, "dos", "03-04-21  10:00AM    <JUNCTION>     Documents [C:\\Users\\x\\Documents]", L, -1, false, "Documents", "2021-03-04 10:00:00", LOC, "C:\\Users\\x\\Documents"},
    {114, "dos", "01-15-20  03:04PM  1'234 swiss.txt", F, 1234, false, "swiss.txt", "2020-01-15 15:04:00"},
    // ---- MLSD / MLST facts in a LIST answer
    {120, "mlsd", "type=file;size=8;modify=20210101000000; in-list.txt", F, 8, false, "in-list.txt", "2021-01-01 00:00:00", UTC},
    // ---- MLSD
    {121, "mlsd", "type=file;size=123;modify=20200101120000; file.txt", F, 123, false, "file.txt", "2020-01-01 12:00:00", UTC, "", true},
    {122, "mlsd", "Type=DIR;Modify=20200102030405;UNIX.mode=0755; Folder", D, -1, false, "Folder", "2020-01-02 03:04:05", UTC, "", true},
    {123, "mlsd", "type=cdir;modify=20200101120000; .", S, -1, false, "", "", UTC, "", true},
    {124, "mlsd", "type=pdir;modify=20200101120000; ..", S, -1, false, "", "", UTC, "", true},
    {125, "mlsd", "type=file;size=5; name with spaces.txt", F, 5, false, "name with spaces.txt", "", UTC, "", true},
    {126, "mlsd", "type=OS.unix=symlink;size=10; link", L, 10, false, "link", "", UTC, "", true},
    {127, "mlsd", "type=OS.unix=slink:/target;size=10; slink", L, 10, false, "slink", "", UTC, "/target", true},
    {128, "mlsd", "TYPE=FILE;SIZE=5368709120;MODIFY=20200101120000.123; upper.bin", F, 5368709120LL, false, "upper.bin", "2020-01-01 12:00:00.123", UTC, "", true},
    {129, "mlsd", "size=7; untyped", U, 7, false, "untyped", "", UTC, "", true},
    {130, "mlsd", "type=file;size=1;  leading space", F, 1, false, " leading space", "", UTC, "", true},
    {131, "mlsd", "type=file;size=2; trailing space  ", F, 2, false, "trailing space  ", "", UTC, "", true},
    {132, "mlsd", "garbage-without-facts name", X, -1, false, "", "", UTC, "", true},
    {133, "mlsd", "type=CDir; current", S, -1, false, "", "", UTC, "", true},
    {134, "mlsd", "modify=20230405060708;perm=adfr;size=99;type=file;unique=801U1234;UNIX.group=100; reordered.dat", F, 99, false, "reordered.dat", "2023-04-05 06:07:08", UTC, "", true},
    {135, "mlsd", "type=file;x.unknown=thing;size=3; unknownfact", F, 3, false, "unknownfact", "", UTC, "", true},
    {136, "mlsd", " nofacts", U, -1, false, "nofacts", "", UTC, "", true},
    {137, "mlsd", "type=OS.unix=chr-13/29;modify=20200101000000; tty", U, -1, false, "tty", "2020-01-01 00:00:00", UTC, "", true},
    {138, "mlsd", "type=dir;sizd=4096;modify=20200101000000; withsizd", D, 4096, false, "withsizd", "2020-01-01 00:00:00", UTC, "", true},
    // ---- EPLF
    {140, "eplf", "+i8388621.29609,m824255902,/,\tdev", D, -1, false, "dev", "1996-02-13 23:58:22", UTC},
    {141, "eplf", "+i8388621.44468,m839956783,r,s10376,\tRFCEPLF", F, 10376, false, "RFCEPLF", "1996-08-13 17:19:43", UTC},
    {142, "eplf", "+r,s0,\tempty", F, 0, false, "empty", ""},
    {143, "eplf", "+m825718503,\tnokind", U, -1, false, "nokind", "1996-03-01 22:15:03", UTC},
    {144, "eplf", "+i1.2,r,s5,up644,\twith perm", F, 5, false, "with perm", ""},
    // ---- VMS
    {150, "vms", "Directory DISK$USER:[JOHN]", S, -1, false, "", ""},
    {151, "vms", "LOGIN.COM;2          3/4       25-MAR-2004 10:15:23  [STAFF,JOHN]  (RWED,RWED,RE,)", F, 1536, true, "LOGIN.COM;2", "2004-03-25 10:15:23"},
    {152, "vms", "MAIL.DIR;1           1/3       12-JAN-2004 09:01:44  [STAFF,JOHN]  (RWE,RWE,RE,E)", D, 512, true, "MAIL", "2004-01-12 09:01:44"},
    {153, "vms", "A_RATHER_LONG_FILE_NAME_FOR_THE_COLUMN.TXT;1\r\n                     10/12      1-APR-2004 14:00:00  [STAFF,JOHN]  (RWED,RWED,RE,)", F, 5120, true, "A_RATHER_LONG_FILE_NAME_FOR_THE_COLUMN.TXT;1", "2004-04-01 14:00:00"},
    {154, "vms", "NOTES.TXT;12         6          2-FEB-2003 08:30", F, 3072, true, "NOTES.TXT;12", "2003-02-02 08:30:00"},
    {155, "vms", "DATA.BIN;1           8/8        3-MAR-2002 12:00:00.55  [1,4]  (RWED,RWED,R,)", F, 4096, true, "DATA.BIN;1", "2002-03-03 12:00:00.550"},
    {156, "vms", "DKA100:[JOHN.SUB]REPORT.LIS;3   2/4   4-APR-2001 09:00:00  [STAFF,JOHN]  (RWED,RWED,RE,)", F, 1024, true, "REPORT.LIS;3", "2001-04-04 09:00:00"},
    {157, "vms", "SECRET.DAT;1         %RMS-E-PRV, insufficient privilege or file protection violation", F, -1, false, "SECRET.DAT;1", ""},
    {158, "vms", "Total of 3 files, 14/19 blocks.", S, -1, false, "", ""},
    {159, "vms", "Grand total of 2 directories, 5 files, 40/60 blocks.", S, -1, false, "", ""},
    {160, "vms", "LAST.TXT;1", F, -1, false, "LAST.TXT;1", ""},
    // ---- OS/2
    {170, "os2", "     0           DIR   05-12-97   16:44  PSFONTS", D, 0, false, "PSFONTS", "1997-05-12 16:44:00"},
    {171, "os2", "  1234  A          03-27-98   09:03  autoexec.bat", F, 1234, false, "autoexec.bat", "1998-03-27 09:03:00"},
    {172, "os2", " 36611  A  R       04-23-98   19:41  read only.txt", F, 36611, false, "read only.txt", "1998-04-23 19:41:00"},
    {173, "os2", "   512      HS     01-01-03   00:00  hidden.sys", F, 512, false, "hidden.sys", "2003-01-01 00:00:00"},
    // ---- NetWare
    {180, "netware", "d [RWCEAFMS] supervisor            512       Jan 16 18:53    login", D, 512, false, "login", "2024-01-16 18:53:00"},
    {181, "netware", "- [R----F--] rhesus             214059       Oct 20 15:27    cx.exe", F, 214059, false, "cx.exe", "2023-10-20 15:27:00"},
    {182, "netware", "d [RWCEAFMS] admin                 512       Jan  5  2019    old dir", D, 512, false, "old dir", "2019-01-05 00:00:00"},
    // ---- OS/400
    {190, "as400", "QSYS           77824 02/23/00 15:09:55 *DIR       QOpenSys/", D, 77824, false, "QOpenSys", "2000-02-23 15:09:55"},
    {191, "as400", "OWNERX       5263360 06/11/97 12:27:39 *FILE      SAVEFILE1", U, 5263360, false, "SAVEFILE1", "1997-06-11 12:27:39"},
    {192, "as400", "QPGMR                                  *MEM       QGPL.LIB/QCLSRC.FILE/START.MBR", F, -1, false, "QGPL.LIB/QCLSRC.FILE/START.MBR", ""},
    {193, "as400", "             20480 25.12.19 08:00:00 *STMF      notes.txt", F, 20480, false, "notes.txt", "2019-12-25 08:00:00"},
    {194, "as400", "QDOC           24576 99/09/20 13:13:30 *FLR       QDOC/", D, 24576, false, "QDOC", "1999-09-20 13:13:30"},
    {195, "as400", "OWNERY          4096 10/01/05 10:00:00 *LIB       MYLIB.LIB", D, 4096, false, "MYLIB.LIB", "2005-10-01 10:00:00"},
    // ---- MVS datasets
    {200, "mvs", "Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname", S, -1, false, "", ""},
    {201, "mvs", "WORK01 3390   2003/05/13  1   15  FB      80  6160  PO  PROJ.CNTL", D, -1, false, "PROJ.CNTL", "2003-05-13 00:00:00"},
    {202, "mvs", "WORK02 3390   2003/05/13  1    1  FB      80 27920  PS  ISPF.PROFILE", F, -1, false, "ISPF.PROFILE", "2003-05-13 00:00:00"},
    {203, "mvs", "WORK03 3380D  07/16/97  1  1  FB  80  8800  PS  ETC.RPC", F, -1, false, "ETC.RPC", "1997-07-16 00:00:00"},
    {204, "mvs", "Migrated                                                OLD.ARCHIVE", F, -1, false, "OLD.ARCHIVE", ""},
    {205, "mvs", "Pseudo Directory                                        PROD", D, -1, false, "PROD", ""},
    {206, "mvs", "WORK04 3390   **NONE**    1    1  VB     255 27998  PS  NEVER.READ", F, -1, false, "NEVER.READ", ""},
    {207, "mvs", "TAPE01 Not Direct Access Device                        KEPT.ON.TAPE", F, -1, false, "KEPT.ON.TAPE", ""},
    // ---- MVS members of a partitioned dataset
    {210, "mvs-member", " Name     VV.MM   Created       Changed      Size  Init   Mod   Id", S, -1, false, "", ""},
    {211, "mvs-member", "JCL01     01.03 2002/09/12 2002/10/01 11:34    20    20     0 USER1", F, -1, false, "JCL01", "2002-10-01 11:34:00"},
    {212, "mvs-member", " Name     VV.MM   Created       Changed      Size  Init   Mod   Id\r\nJCL02", F, -1, false, "JCL02", ""},
    {213, "mvs-member", "MEMBER3   01.00 1999/12/31 2000/01/01 00:00:05    1    1     0 USER2", F, -1, false, "MEMBER3", "2000-01-01 00:00:05"},
    {214, "mvs-member", " Name      Size   TTR   Alias-of AC --------- Attributes --------- Amode Rmode\r\nIEFBR14   000008 00000F          00 FO             RN RU            31    ANY", F, 8, false, "IEFBR14", ""},
    // ---- Tandem (HP NonStop)
    {220, "tandem", "File         Code             EOF  Last Modification    RWEP", S, -1, false, "", ""},
    {221, "tandem", "ALTDATA      101            1024  18-Sep-02 14:25:45  255, 10 \"oooo\"", F, 1024, false, "ALTDATA", "2002-09-18 14:25:45"},
    {222, "tandem", "CONFIG         0           4096  01-Jan-2001 00:00:01 100,1 \"nunu\"", F, 4096, false, "CONFIG", "2001-01-01 00:00:01"},
    {223, "tandem", "OPENED      101O            512  05-Mar-03 09:10:11 8,255 \"gggg\"", F, 512, false, "OPENED", "2003-03-05 09:10:11"},
    // ---- OS-9
    {230, "os9", " Owner  Last modified   Attributes Sector Bytecount Name", S, -1, false, "", ""},
    {231, "os9", "------- ---------------- ---------- ------ --------- ----", S, -1, false, "", ""},
    {232, "os9", "   0.0  03/04/15 1200  d-ewrewr      4C       140 CMDS", D, 320, false, "CMDS", "2003-04-15 12:00:00"},
    {233, "os9", "  12.4  2002/11/30 2359  ------wr    1A2      2F0A startup", F, 12042, false, "startup", "2002-11-30 23:59:00"},
    {234, "os9", "                           Directory of . 12:34:56", S, -1, false, "", ""},
    // ---- Nortel (VxWorks)
    {240, "nortel", "  size          date       time       name", S, -1, false, "", ""},
    {241, "nortel", "   39424      NOV-29-2003  11:01:12   boot.cfg", F, 39424, false, "boot.cfg", "2003-11-29 11:01:12"},
    {242, "nortel", "     512      DEC-01-2003  09:00:00   SYSLOG         <DIR>", D, 512, false, "SYSLOG", "2003-12-01 09:00:00"},
    {243, "nortel", "    2048      JAN-05-2004  00:00:00   config backup.txt", F, 2048, false, "config backup.txt", "2004-01-05 00:00:00"},
    // ---- Connect:Enterprise mailboxes
    {250, "connect", "-A-R------ 1 MBOX0001 0692432 7 Mar 3 15:33 RESTORE", F, -1, false, "RESTORE", "2024-03-03 15:33:00"},
    {251, "connect", "-C------S- 1 MBOX0001 0692922 43 Mar 2 2022 outbound.edi", F, -1, false, "outbound.edi", "2022-03-02 00:00:00"},
    {252, "connect", "-A--T----- 1 MBOX0001 0731275 17 Apr 4 11:09 0731342000100U", F, -1, false, "0731342000100U", "2024-04-04 11:09:00"},
    // ---- lines that are no entry of any format
    {260, "garbage", "", S, -1, false, "", ""},
    {261, "garbage", "hello world", X, -1, false, "", ""},
    {262, "garbage", "550 No files found", X, -1, false, "", ""},
    {263, "garbage", "\x01\x02\x03", X, -1, false, "", ""},
    {264, "garbage", "hello world", X, -1, false, "", "", UTC, "", true},
};

} // namespace parservectors
