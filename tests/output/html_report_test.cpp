// The HTML page of a run: well-formed, every chart present with data, text escaped, warnings and a
// stopped run shown at the top.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "output/html_chart.hpp"
#include "output/html_report.hpp"
#include "tests/test_support.hpp"

namespace pileaxial {
namespace {

const std::string kSource = PILEAXIAL_SOURCE_DIR;

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    int svg = -1;  // index of the enclosing <svg>, or -1
};

struct Parsed {
    std::string error;  // empty when the page is well-formed
    std::vector<Element> elements;
    std::vector<std::string> svgText;  // the text inside each <svg> (titles, labels)
};

bool isEntity(const std::string& s, std::size_t i) {
    std::size_t j = i + 1;
    if (j < s.size() && s[j] == '#') {
        ++j;
        if (j < s.size() && s[j] == 'x') ++j;
        const std::size_t first = j;
        while (j < s.size() && std::isxdigit(static_cast<unsigned char>(s[j]))) ++j;
        return j > first && j < s.size() && s[j] == ';';
    }
    const std::size_t first = j;
    while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
    return j > first && j < s.size() && s[j] == ';';
}

// A small XML-like reading of the page: every element opened is closed in order (or closes itself),
// attribute values are quoted, and no '<' or '&' stands alone in text or in a value.
Parsed parse(const std::string& s) {
    Parsed p;
    std::vector<std::size_t> open;
    int svg = -1;
    auto fail = [&p](const std::string& what, std::size_t at) {
        p.error = what + " at offset " + std::to_string(at);
        return p;
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '&') {
            if (!isEntity(s, i)) return fail("stray '&'", i);
            ++i;
            continue;
        }
        if (c != '<') {
            if (svg >= 0) p.svgText[static_cast<std::size_t>(svg)] += c;
            ++i;
            continue;
        }
        if (s.compare(i, 4, "<!--") == 0) {
            const std::size_t end = s.find("-->", i);
            if (end == std::string::npos) return fail("unclosed comment", i);
            i = end + 3;
            continue;
        }
        if (s.compare(i, 2, "<!") == 0) {
            const std::size_t end = s.find('>', i);
            if (end == std::string::npos) return fail("unclosed declaration", i);
            i = end + 1;
            continue;
        }
        if (s.compare(i, 2, "</") == 0) {
            const std::size_t end = s.find('>', i);
            if (end == std::string::npos) return fail("unclosed end tag", i);
            const std::string name = s.substr(i + 2, end - i - 2);
            if (open.empty()) return fail("end tag </" + name + "> with nothing open", i);
            const Element& top = p.elements[open.back()];
            if (top.name != name) return fail("</" + name + "> closes <" + top.name + ">", i);
            if (name == "svg") svg = -1;
            open.pop_back();
            i = end + 1;
            continue;
        }
        // A start tag.
        std::size_t j = i + 1;
        Element e;
        while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '-')) e.name += s[j++];
        if (e.name.empty()) return fail("stray '<'", i);
        bool selfClosing = false;
        for (;;) {
            while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
            if (j >= s.size()) return fail("unclosed start tag <" + e.name, i);
            if (s[j] == '>') { ++j; break; }
            if (s.compare(j, 2, "/>") == 0) { selfClosing = true; j += 2; break; }
            std::string key;
            while (j < s.size() && s[j] != '=' && s[j] != '>' && !std::isspace(static_cast<unsigned char>(s[j]))) key += s[j++];
            if (j >= s.size() || s[j] != '=' || j + 1 >= s.size() || s[j + 1] != '"') {
                return fail("attribute " + key + " of <" + e.name + "> without a quoted value", j);
            }
            const std::size_t close = s.find('"', j + 2);
            if (close == std::string::npos) return fail("unclosed attribute value", j);
            const std::string value = s.substr(j + 2, close - j - 2);
            if (value.find('<') != std::string::npos) return fail("'<' in an attribute value", j);
            for (std::size_t a = value.find('&'); a != std::string::npos; a = value.find('&', a + 1)) {
                if (!isEntity(value, a)) return fail("stray '&' in an attribute value", j);
            }
            e.attributes[key] = value;
            j = close + 1;
        }
        if (e.name == "svg") {
            if (svg >= 0) return fail("<svg> inside <svg>", i);
            svg = static_cast<int>(p.svgText.size());
            p.svgText.emplace_back();
        }
        e.svg = svg;
        p.elements.push_back(e);
        if (e.name == "svg" && selfClosing) svg = -1;
        if (!selfClosing) open.push_back(p.elements.size() - 1);
        // The style sheet is raw text up to its end tag.
        if (e.name == "style" && !selfClosing) {
            const std::size_t end = s.find("</style>", j);
            if (end == std::string::npos) return fail("unclosed <style>", i);
            if (s.substr(j, end - j).find('<') != std::string::npos) return fail("'<' in the style sheet", j);
            j = end;
        }
        i = j;
    }
    if (!open.empty()) return fail("<" + p.elements[open.back()].name + "> never closed", s.size());
    return p;
}

struct CaseRun {
    std::unique_ptr<Run> run;
    std::string errors;
    int status = -1;
};

CaseRun runInput(const testing::TempDir& dir, const std::string& input, const std::string& cpt = "") {
    const RunFileSet files = testing::caseFiles(dir, input, cpt);
    std::ostringstream console, errors;
    const RunEnvironment env = testing::capturingEnvironment(console, errors, testing::fixedTime(2026, 12, 9, 10, 30, 0));
    CaseRun r;
    r.run = std::make_unique<Run>(env);
    r.status = r.run->execute(files);
    r.errors = errors.str();
    return r;
}

CaseRun runExample(const testing::TempDir& dir, const std::string& name, bool withCpt) {
    const std::string base = kSource + "/examples/" + name + "/" + name;
    return runInput(dir, testing::readFile(base + ".in"), withCpt ? testing::readFile(base + ".cpt") : "");
}

const std::vector<std::string> kChartTitles = {
    "Ultimate capacity versus pile length", "Side resistance versus pile length",
    "versus pile length",  // end bearing, or the self weight in tension
    "Unit side friction versus depth", "t-z curves used by the load-settlement analysis",
    "Tip load-movement curve", "Load versus settlement"};

// Every chart of the page is present once, has data, and its axes carry units.
void checkPage(const std::string& page, const std::string& force, const std::string& length) {
    const Parsed p = parse(page);
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.svgText.size(), kChartTitles.size());
    std::vector<bool> hasData(p.svgText.size(), false);
    for (const Element& e : p.elements) {
        if (e.svg < 0) continue;
        if (e.name == "polyline" && !e.attributes.at("points").empty()) hasData[static_cast<std::size_t>(e.svg)] = true;
        if (e.name == "path" && e.attributes.count("d") && e.attributes.at("d").empty()) ADD_FAILURE() << "empty path";
    }
    for (std::size_t c = 0; c < kChartTitles.size(); ++c) {
        EXPECT_TRUE(hasData[c]) << "chart " << c << " has no line";
        EXPECT_NE(p.svgText[c].find(kChartTitles[c]), std::string::npos) << p.svgText[c].substr(0, 200);
        EXPECT_NE(p.svgText[c].find('('), std::string::npos) << "no units on chart " << c;
    }
    // The four depth plots: force or stress across, length down, and the soil column beside them.
    for (std::size_t c = 0; c < 4; ++c) {
        EXPECT_NE(p.svgText[c].find("(" + length + ")"), std::string::npos);
        EXPECT_NE(p.svgText[c].find("Soil"), std::string::npos);
    }
    EXPECT_NE(p.svgText[0].find("(" + force + ")"), std::string::npos);
    EXPECT_NE(page.find("<table class=\"data\"><caption>"), std::string::npos);
}

TEST(HtmlReport, EnglishExampleIsWellFormedWithEveryChart) {
    testing::TempDir dir;
    CaseRun r = runExample(dir, "english-pipe", false);
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string page = HtmlReport(*r.run, r.errors);
    checkPage(page, "kips", "ft");
    EXPECT_NE(page.find("FHWA"), std::string::npos);
}

TEST(HtmlReport, SiExampleIsWellFormedWithEveryChart) {
    testing::TempDir dir;
    CaseRun r = runExample(dir, "si-closed-cpt", true);
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string page = HtmlReport(*r.run, r.errors);
    checkPage(page, "kN", "m");
}

TEST(HtmlReport, ManyNodesAndEveryOnshoreMethod) {
    testing::TempDir dir;
    testing::CaseText c;
    c.g4 = "0 0.1 1 0 1 0 0";            // 400 increments
    c.g5 = "1 1 1 1 1 0 0 0 0";
    c.g1 = "1 1 4 0";                    // every node printed
    CaseRun r = runInput(dir, c.str());
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string page = HtmlReport(*r.run, r.errors);
    checkPage(page, "kips", "ft");
    for (const char* name : {"FHWA", "USACE", "Revised Lambda", "API RP-2A (2010)"}) {
        EXPECT_NE(page.find(std::string("<caption>") + name + "</caption>"), std::string::npos) << name;
    }
}

TEST(HtmlReport, EscapesTextAndShowsWarningsAndAStoppedRun) {
    testing::TempDir dir;
    testing::CaseText c;
    c.t1 = "Pier <7> & \"east\"";
    c.g6 = "30 0";  // the profile ends above the tip: the run stops
    CaseRun r = runInput(dir, c.str());
    ASSERT_EQ(r.status, kStatusStopped);
    const std::string page = HtmlReport(*r.run, r.errors + "warning: <odd> & more\n");
    EXPECT_EQ(parse(page).error, "");
    EXPECT_NE(page.find("Pier &lt;7&gt; &amp; &quot;east&quot;"), std::string::npos);
    EXPECT_NE(page.find("class=\"status\""), std::string::npos);
    EXPECT_NE(page.find("status 1"), std::string::npos);
    EXPECT_NE(page.find("warning: &lt;odd&gt; &amp; more"), std::string::npos);

    // A completed run with a warning shows it in its own box.
    testing::TempDir dir2;
    CaseRun ok = runInput(dir2, testing::CaseText().str());
    ASSERT_EQ(ok.status, 0);
    const std::string warned = HtmlReport(*ok.run, "pileaxial: warning: something unusual\n");
    EXPECT_NE(warned.find("class=\"warnings\""), std::string::npos);
    EXPECT_EQ(HtmlReport(*ok.run).find("class=\"warnings\""), std::string::npos);
}

TEST(HtmlReport, TheCheckerCatchesBrokenPages) {
    EXPECT_NE(parse("<p>a < b</p>").error, "");
    EXPECT_NE(parse("<p>a & b</p>").error, "");
    EXPECT_NE(parse("<p><b>x</p></b>").error, "");
    EXPECT_NE(parse("<div>").error, "");
    EXPECT_EQ(parse("<!DOCTYPE html><p class=\"x\">a &amp; b &#39;<br/></p>").error, "");
}

TEST(HtmlChart, NiceTicks) {
    EXPECT_EQ(html::NiceTicks(0, 97, 5), (std::vector<double>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(html::NiceTicks(0, 0, 5), html::NiceTicks(0, 1, 5));  // a flat zero series
    const std::vector<double> t = html::NiceTicks(0, 0.0123, 6);
    EXPECT_LE(t.size(), 8u);
    EXPECT_GE(t.back(), 0.0123);
    EXPECT_EQ(html::Fixed(-0.0001, 2), "0.00");
    EXPECT_EQ(html::Escape("a<b&'\""), "a&lt;b&amp;&#39;&quot;");
}

}  // namespace
}  // namespace pileaxial

namespace pileaxial {
namespace {

std::string browserPath() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-headless-shell"}) {
        if (std::filesystem::exists(path)) return path;
    }
    return "";
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Headless, with nothing reaching for the network, in a fresh profile.
std::string browserCommand(const std::string& browser, const testing::TempDir& dir, const std::string& profile) {
    return "timeout 180 '" + browser +
           "' --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking"
           " --disable-component-update --disable-sync --hide-scrollbars --user-data-dir='" +
           dir.file(profile) + "'";
}

// Lines of the browser's log that tell of a problem with the page itself: messages on the page's
// console, scripts that failed, resources it could not load.
std::string pageProblems(const std::string& log) {
    std::string problems;
    for (const std::string& line : testing::splitLines(log)) {
        if (line.find(":CONSOLE") != std::string::npos || line.find("Uncaught") != std::string::npos ||
            line.find("net::ERR_") != std::string::npos || line.find("Not allowed to load") != std::string::npos) {
            problems += line + "\n";
        }
    }
    return problems;
}

void renderInBrowser(const std::string& name, bool withCpt) {
    const std::string browser = browserPath();
    if (browser.empty()) {
        GTEST_SKIP() << "no headless browser: /usr/bin/chromium (or chromium-headless-shell) is not installed;"
                        " apt-get install -y chromium runs this test";
    }
    testing::TempDir dir;
    CaseRun r = runExample(dir, name, withCpt);
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::string page = dir.write(name + ".html", HtmlReport(*r.run, r.errors));
    const std::string url = "file://" + page;

    // The document as the browser built it: every chart is there.
    ASSERT_EQ(shell(browserCommand(browser, dir, "profile-dom") + " --dump-dom '" + url + "' > '" +
                    dir.file("dom.html") + "' 2> '" + dir.file("dom.log") + "'"),
              0)
        << testing::readFile(dir.file("dom.log"));
    const std::string dom = testing::readFile(dir.file("dom.html"));
    ASSERT_FALSE(dom.empty());
    std::size_t charts = 0;
    for (std::size_t at = dom.find("<svg"); at != std::string::npos; at = dom.find("<svg", at + 1)) ++charts;
    EXPECT_EQ(charts, kChartTitles.size());
    EXPECT_NE(dom.find("Capacity tables"), std::string::npos);

    // A screenshot of the rendered page, kept in the build tree to be looked at.
    const std::string shots = std::string(PILEAXIAL_BINARY_DIR) + "/html-screenshots";
    std::filesystem::create_directories(shots);
    const std::string png = shots + "/" + name + ".png";
    std::filesystem::remove(png);
    ASSERT_EQ(shell(browserCommand(browser, dir, "profile-shot") + " --enable-logging=stderr --v=0 --screenshot='" +
                    png + "' --window-size=1200,3000 '" + url + "' > /dev/null 2> '" + dir.file("shot.log") + "'"),
              0)
        << testing::readFile(dir.file("shot.log"));
    const std::string log = testing::readFile(dir.file("shot.log"));
    EXPECT_EQ(pageProblems(log), "");
    const std::string image = testing::readFile(png);
    ASSERT_GT(image.size(), 20000u) << png;
    EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST(HtmlReportInBrowser, EnglishExampleRendersWithoutErrors) { renderInBrowser("english-pipe", false); }

TEST(HtmlReportInBrowser, SiExampleRendersWithoutErrors) { renderInBrowser("si-closed-cpt", true); }

TEST(HtmlReportInBrowser, TheLogCheckFindsConsoleMessages) {
    EXPECT_EQ(pageProblems("[1:2:ERROR:dbus/bus.cc:405] Failed to connect to the bus\n"), "");
    EXPECT_NE(pageProblems("[1:1:1209/150119.368715:INFO:CONSOLE:1] \"Uncaught ReferenceError: x\", source: file:///p.html (1)\n"), "");
}

}  // namespace
}  // namespace pileaxial
