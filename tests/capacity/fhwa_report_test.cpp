// Whole runs of the FHWA method checked against hand calculations: the capacity table rows and the plot
// rows of a closed 12 in pipe in sand over clay, in English and in SI units, and of the same pipe open
// at the tip with the plug left to the program.
//
// The case: a 12 in x 11 in steel pipe (type 1), 35 ft embedded, no area given, increments of 5 ft,
// rows every third node.  Sand 0-20 ft (100 pcf, phi 30, Nq 40), clay 20-40 ft (50 pcf, su 2000 psf,
// remolded 1000 psf, uniform).  No friction or bearing limits, every LRFD factor 1.
//
// Nodes 1..8 are the lengths 0, 5, ..., 35 ft; with rows every third node the table shows 0, 15 and
// 30 ft, and the tip at 35 ft because the last node always prints.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

using testing::CaseText;
using testing::TempDir;

const std::string kFhwaTitle = std::string(28, ' ') + "*  FED. HWY. METHOD  *";
const std::string kStars = std::string(28, ' ') + std::string(22, '*');

// Second soil record: no limits, strength and remolded strength (for sand the blow count), LRFD 1.
std::string S2(const std::string& strengths) { return "0 0 " + strengths + " 0 20 0 0 0 1 1 0 0 0"; }

CaseText ClosedPipeEnglish() {
    CaseText c;
    c.g1 = "1 3 4 1";
    c.g2 = "0 0 12 11 29000000 35 0";
    c.g3 = "0 0 0";
    c.g4 = "0 5 1 0 1 0 0";
    c.g5 = "1 0 0 0 0 0 0 0 0";
    c.g6 = "40 0";
    c.points = {{"0 1 1 100 30 40", S2("0 10")},
                {"20 1 1 100 30 40", S2("0 10")},
                {"20 2 1 50 0 9", S2("2000 1000")},
                {"40 2 1 50 0 9", S2("2000 1000")}};
    return c;
}

// The same case in SI: 304.8 x 279.4 mm, 10.668 m, increments of 1.524 m; sand 15.71 kN/m^3 to
// 6.096 m over clay of su 95.76 kPa (remolded 47.88 kPa) to 12.192 m.
CaseText ClosedPipeSi() {
    CaseText c = ClosedPipeEnglish();
    c.g1 = "2 3 4 1";
    c.g2 = "0 0 304.8 279.4 200000000 10.668 0";
    c.g4 = "0 1.524 1 0 1 0 0";
    c.g6 = "12.192 0";
    c.points = {{"0 1 1 15.71 30 40", S2("0 10")},
                {"6.096 1 1 15.71 30 40", S2("0 10")},
                {"6.096 2 1 7.85 0 9", S2("95.76 47.88")},
                {"12.192 2 1 7.85 0 9", S2("95.76 47.88")}};
    return c;
}

struct FhwaTable {
    std::vector<std::string> heading;  // banner from the first line of stars, then the three heading lines
    std::vector<std::string> rows;
    std::vector<std::string> plot;     // whole plot-data file
};

FhwaTable RunFhwa(const CaseText& c) {
    TempDir dir;
    const testing::RunResult r = testing::runCase(dir, c.str());
    EXPECT_EQ(r.status, 0) << r.errors;
    FhwaTable t;
    t.plot = testing::splitLines(r.plot);
    std::size_t title = r.report.size();
    for (std::size_t i = 0; i < r.report.size(); ++i) {
        if (r.report[i] == kFhwaTitle) {
            EXPECT_EQ(title, r.report.size()) << "second FHWA table at line " << i;
            title = i;
        }
    }
    if (title == r.report.size() || title < 1 || title + 5 >= r.report.size()) {
        ADD_FAILURE() << "no FHWA table in the report";
        return t;
    }
    for (std::size_t i = title - 1; i <= title + 5; ++i) t.heading.push_back(r.report[i]);
    for (std::size_t i = title + 6; i < r.report.size() && !r.report[i].empty(); ++i) t.rows.push_back(r.report[i]);
    return t;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Banner and headings of the table without and with the plug columns.
std::vector<std::string> Heading(const std::string& length, const std::string& force, bool plug) {
    const std::string ten(10, ' ');
    std::string line1 = ten + "   PILE       TOTAL SKIN       END       ULTIMATE";
    std::string line2 = ten + "PENETRATION   FRICTION       BEARING     CAPACITY";
    std::string line3 = ten + std::string(4, ' ') + length + std::string(10, ' ') + force + std::string(11, ' ') +
                        force + std::string(10, ' ') + force;
    if (plug) {
        line1 += std::string(8, ' ') + "PLUG";
        line2 += std::string(7, ' ') + "LENGTH";
        line3 += std::string(10, ' ') + length;
    }
    return {kStars, kFhwaTitle, kStars, "", line1, line2, line3};
}

// English, closed tip.
//
// Unit side friction in the sand.  The tip decision that opens the pass marks every node of a closed
// pile as plugged, so each sand segment along the pile displaces its full section:
//   V = 0.7853975 x 12^2 / 144 = 0.7853975 ft^3/ft
//   delta/phi (pipe) = 0.593 - (0.8 - 0.7853975) x (0.593 - 0.516) / 0.2 = 0.5873780
//   delta = 30 x 0.5873780 = 17.62134 deg, sin delta = 0.3027248
//   C_F (0.587378, phi 30) = 0.69 + (0.587378 - 0.4) x (0.82 - 0.69) / 0.2 = 0.8117957
//   K_delta (phi 30, omega 0) = 1.15 + (1 - 0.7853975) x (0.85 - 1.15) / 0.9 = 1.0784658
//   f / sigma' = 0.8117957 x 0.3027248 x 1.0784658 = 0.2650337
// sigma' = 0.1 ksf per ft, so f = 0.1325169 at 5 ft, 0.2650337 at 10 ft, 0.3975506 at 15 ft and
// 0.5300675 at 20 ft (the bottom of the last sand segment).
// Clay: sand above the first clay segment, so adhesion case 1; penetration ratio
//   (0 - 20 + min(40, 35)) / 1 ft = 15; su = 2.0 ksf: alpha = a20 + (20 - 15) x (a10 - a20) / 10
//   = 0.95 + 0.5 x 0.05 = 0.975, f = 0.975 x 2.0 = 1.95 ksf at 25, 30 and 35 ft.
//
// Side resistance, (dz/2) x pi x D = 2.5 x 3.14159 x 1 = 7.853975 times the sum of the node pairs:
//   15 ft: 2 x 0.1325169 + 2 x 0.2650337 + 0.3975506 = 1.1926517           -> 9.367058 kips
//   30 ft: + 0.3975506 + 2 x 0.5300675 + 3 x 1.95 = 8.5003372              -> 66.76144
//   35 ft: + 2 x 1.95 = 12.4003372                                          -> 97.39194
//
// End bearing, gross area 0.7853975 x 1^2 = 0.7853975 ft^2, window 1.5 ft either side of the tip:
//   sand: Nq = C(phi 30, L/D = 35 ft / 1 ft) x N'q(30) = (0.52 + 5 x (0.49 - 0.52) / 15) x 30 = 15.3,
//   limited to 2 x 6.66 = 13.32 ksf: segment pairs (0, 7.65), (7.65, 13.32), then 13.32 to 20 ft;
//   clay: 9 x 2.0 = 18 ksf.
//   0 ft: the bearing integral is 0 at the ground and (0 + 7.65) / 2 x 5 = 19.125 at 5 ft; read
//     linearly at 1.5 ft it is 5.7375; average over 3 ft = 1.9125 ksf  -> 1.502073 kips
//     (a slenderness taken with the diameter in inches, 35 / 12, would read the L/D 20 curve:
//     Nq 17.4 and 1.7 kips)
//   15 ft: window 13.5..16.5 wholly at the limit: 13.32 x 0.7853975       -> 10.461495
//   30, 35 ft: window in uniform clay: 18 x 0.7853975                      -> 14.137156
//
// Ultimate: 1.502073; 9.367058 + 10.461495 = 19.828553; 66.76144 + 14.137156 = 80.89860;
//   97.39194 + 14.137156 = 111.52910.
TEST(FhwaReport, ClosedPipeSandOverClayEnglish) {
    const FhwaTable t = RunFhwa(ClosedPipeEnglish());
    EXPECT_EQ(t.heading, Heading("FT.", "KIP", false));
    const std::vector<std::string> rows = {
        "              0.00           0.0           1.5          1.5",
        "             15.00           9.4          10.5         19.8",
        "             30.00          66.8          14.1         80.9",
        "             35.00          97.4          14.1        111.5",
    };
    EXPECT_EQ(t.rows, rows);

    // One method, four rows per table, English, load transfer by method 1.
    ASSERT_GE(t.plot.size(), 5u);
    EXPECT_EQ(Words(t.plot[0]), (std::vector<std::string>{"1", "4", "1", "1"}));
    const std::vector<std::string> plot = {
        "     0.00       0.0       1.5        1.5      0.000",
        "    15.00       9.4      10.5       19.8      0.398",
        "    30.00      66.8      14.1       80.9      1.950",
        "    35.00      97.4      14.1      111.5      1.950",
    };
    EXPECT_EQ(std::vector<std::string>(t.plot.begin() + 1, t.plot.begin() + 5), plot);
}

// SI, worked in SI units.
//
// Unit side friction in the sand, the section again full (closed tip):
//   V = 0.7854 x 304.8^2 / 10^6 = 0.0729660 m^2, / 0.0929 = 0.7854257 ft^3/ft
//   delta/phi = 0.593 - (0.8 - 0.7854257) x 0.385 = 0.5873889; delta = 17.62167 deg, sin = 0.3027302
//   C_F = 0.69 + 0.1873889 x 0.65 = 0.8118028; K_delta = 1.15 - (1 - 0.7854257) / 3 = 1.0784752
//   f / sigma' = 0.8118028 x 0.3027302 x 1.0784752 = 0.2650431
// sigma' per 1.524 m segment = 15.71 x 1.524 = 23.94204 kPa, so f = 6.345672 at 1.524 m,
// 12.691343 at 3.048 m, 19.037015 at 4.572 m and 25.382687 at 6.096 m.
// Clay: 95.76 kPa is 2.0 ksf on the adhesion chart; ratio (0 - 6.096 + min(12.192, 10.668)) / 0.3048
//   = 15, case 1: alpha 0.975, f = 0.975 x 95.76 = 93.366 kPa at 7.62, 9.144 and 10.668 m.
//
// Side resistance, (dz/2) x pi x D = 0.762 x 3.14159 x 0.3048 = 0.7296582 times:
//   4.572 m: 2 x 6.345672 + 2 x 12.691343 + 19.037015 = 57.111045          -> 41.67154 kN
//   9.144 m: + 19.037015 + 2 x 25.382687 + 3 x 93.366 = 407.011434          -> 296.97922
//   10.668 m: + 2 x 93.366 = 593.743434                                     -> 433.22975
//
// End bearing, gross area 0.7853975 x 0.3048^2 = 0.07296582 m^2, window 0.4572 m either side:
//   Nq = 15.3 (L/D = 10.668 / 0.3048 = 35); limit 2 x 47.88 x 6.66 = 637.7616 kPa.
//   0 m: segment 1 bottom 15.3 x 23.94204 = 366.3132 kPa; integral at 1.524 m 279.1307, read at
//     0.4572 m 83.73920; / 0.9144 = 91.57830 kPa                          -> 6.682086 kN
//   4.572 m: window 4.1148..5.0292 at the limit (segment 3 top already 15.3 x 47.88408 = 732.63):
//     637.7616 x 0.07296582                                                -> 46.53480
//   9.144, 10.668 m: 9 x 95.76 = 861.84 x 0.07296582                       -> 62.88486
//
// Ultimate: 6.682086; 41.67154 + 46.53480 = 88.20634; 296.97922 + 62.88486 = 359.86408;
//   433.22975 + 62.88486 = 496.11461.
TEST(FhwaReport, ClosedPipeSandOverClaySi) {
    const FhwaTable t = RunFhwa(ClosedPipeSi());
    EXPECT_EQ(t.heading, Heading("M. ", "KN.", false));
    const std::vector<std::string> rows = {
        "              0.00           0.0           6.7          6.7",
        "              4.57          41.7          46.5         88.2",
        "              9.14         297.0          62.9        359.9",
        "             10.67         433.2          62.9        496.1",
    };
    EXPECT_EQ(t.rows, rows);

    ASSERT_GE(t.plot.size(), 5u);
    EXPECT_EQ(Words(t.plot[0]), (std::vector<std::string>{"1", "4", "2", "1"}));
    const std::vector<std::string> plot = {
        "     0.00       0.0       6.7        6.7      0.000",
        "     4.57      41.7      46.5       88.2     19.037",
        "     9.14     297.0      62.9      359.9     93.366",
        "    10.67     433.2      62.9      496.1     93.366",
    };
    EXPECT_EQ(std::vector<std::string>(t.plot.begin() + 1, t.plot.begin() + 5), plot);
}

// English, open tip, plug left to the program: plug columns and the mark.
//
// Unit side friction.  Before the method has run in the pass the plug carries no friction, so the
// opening tip decision compares the annulus alone with the gross section and finds the tip unplugged
// at every node; each sand segment then displaces only the annulus:
//   V = 0.7853975 x (12^2 - 11^2) / 144 = 0.1254454 ft^3/ft
//   delta/phi (pipe, V below 0.3) = 0.342; delta = 10.26 deg, sin = 0.1781152
//   C_F (0.342, phi 30) = 0.58 + 0.142 x (0.69 - 0.58) / 0.2 = 0.6581
//   K_delta = 1.15 + (1 - 0.1254454) x (0.85 - 1.15) / 0.9 = 0.8584818
//   f / sigma' = 0.6581 x 0.1781152 x 0.8584818 = 0.1006292
// f = 0.0503146, 0.1006292, 0.1509438, 0.2012584 at 5..20 ft; clay as before 1.95 ksf.
// Side resistance (x 7.853975):
//   15 ft: 2 x 0.0503146 + 2 x 0.1006292 + 0.1509438 = 0.4528314            -> 3.556527
//   30 ft: + 0.1509438 + 2 x 0.2012584 + 3 x 1.95 = 6.856292                -> 53.84915
//   35 ft: + 3.9 = 10.756292                                                 -> 84.47965
//
// Tip.  Plug friction on the inner wall, d = 11/12 ft: pi/2 x d x dz = 1.570795 x 0.9166667 x 5
//   = 7.199477 times (f_top + f_bottom) of each segment; the inner friction is the outer one in sand
//   and alpha x remolded strength in clay, 0.975 x 1.0 = 0.975 ksf.
//   Plug friction at 15 ft: 7.199477 x (0.0503146 + 0.1509438 + 0.2515730) = 3.260150
//   at 20 ft: 7.199477 x 0.8050337 = 5.795822; each clay segment adds 7.199477 x 1.95 = 14.038981.
//   Annulus 0.1254454 ft^2: 13.32 ksf in the sand at the limit -> 1.670933; clay 18 ksf -> 2.258018.
//   Gross averages as for the closed pipe: 0 ft 1.502073; 5 ft 7.155 x 0.7853975 = 5.619519;
//   10 ft 11.9025 -> 9.348194; 15 ft 10.461495; 20 ft (13.32 + 18) / 2 = 15.66 -> 12.299325;
//   25-35 ft 14.137156.
//   0 ft: annulus 0 (no stress at the ground) <= 1.502073: unplugged, end bearing 0, mark.
//   5, 10 ft: 0.362239 + 0.959658 = 1.321896 < 5.619519; 1.448955 + 1.670933 = 3.119889 < 9.348194.
//   15 ft: carried plug friction = plug friction (unplugged so far): U = 3.260150 + 1.670933
//     = 4.931083 < 10.461495: unplugged, end bearing 4.931083, plug length 15, mark.
//     Ultimate 3.556527 + 4.931083 = 8.487610.
//   20 ft: 5.795822 + 1.670933 = 7.466755 < 12.299325: unplugged, plug length 20.
//   25 ft: U = 5.795822 + 14.038981 + 2.258018 = 22.092821 > 14.137156: the gross section governs;
//     excess (14.137156 - 5.795822) - 2.258018 = 6.083316, carried 11.879138,
//     plug length 20 + 5 x 6.083316 / 14.038981 = 22.166580.
//   30 ft: U = 11.879138 + 14.038981 + 2.258018 = 28.176137 > 14.137156: gross section, no mark;
//     excess 14.137156 - 11.879138 - 2.258018 = 0: plug length stays 22.17.  Ultimate 53.84915 +
//     14.137156 = 67.98631.  35 ft likewise: 84.47965 + 14.137156 = 98.61681.
TEST(FhwaReport, OpenPipeComputedPlugEnglish) {
    CaseText c = ClosedPipeEnglish();
    c.g1 = "1 3 4 0";
    const FhwaTable t = RunFhwa(c);
    EXPECT_EQ(t.heading, Heading("FT.", "KIP", true));
    const std::vector<std::string> rows = {
        "              0.00           0.0           0.0*         0.0        0.00",
        "             15.00           3.6           4.9*         8.5       15.00",
        "             30.00          53.8          14.1         68.0       22.17",
        "             35.00          84.5          14.1         98.6       22.17",
    };
    EXPECT_EQ(t.rows, rows);

    ASSERT_GE(t.plot.size(), 5u);
    EXPECT_EQ(Words(t.plot[0]), (std::vector<std::string>{"1", "4", "1", "1"}));
    const std::vector<std::string> plot = {
        "     0.00       0.0       0.0        0.0      0.000",
        "    15.00       3.6       4.9        8.5      0.151",
        "    30.00      53.8      14.1       68.0      1.950",
        "    35.00      84.5      14.1       98.6      1.950",
    };
    EXPECT_EQ(std::vector<std::string>(t.plot.begin() + 1, t.plot.begin() + 5), plot);
}

}  // namespace
}  // namespace pileaxial
