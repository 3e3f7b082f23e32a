#pragma once
// Checks of a run's JSON results against the report and plot-data file of the same run: every number of
// a capacity table, of the t-z and tip curves and of the load versus settlement table, formatted as the
// report formats it, gives the report's line; the load distribution gives the plot-data file's lines; and
// the document follows the "type" and "required" keywords of docs/json-schema.json.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "output/json_results.hpp"
#include "tests/test_support.hpp"
#include "textio/fortran_format.hpp"

namespace pileaxial::json_checks {

using nlohmann::json;
using textio::Line;

inline const std::string kSource = PILEAXIAL_SOURCE_DIR;

struct JsonRun {
    int status = -1;
    std::vector<std::string> report;
    std::vector<std::string> plot;
    std::string errors;
    json doc;
};

inline JsonRun runWithJson(const std::string& input, const std::string& cpt) {
    testing::TempDir dir;
    const RunFileSet files = testing::caseFiles(dir, input, cpt);
    std::ostringstream console, errors;
    const RunEnvironment env = testing::capturingEnvironment(console, errors, testing::fixedTime(2026, 12, 9, 10, 30, 0));
    auto heapRun = std::make_unique<Run>(env);
    Run& run = *heapRun;
    JsonRun r;
    r.status = run.execute(files);
    r.report = testing::readLines(files.outputName);
    r.plot = testing::readLines(files.plotName);
    r.errors = errors.str();
    // Through text and back, as a reader gets it: the numbers survive at full precision.
    r.doc = json::parse(output::ResultsJson(run).dump());
    return r;
}

// Finds `line` in `lines` at or after `from`; returns the index after it, or npos.
inline std::size_t findFrom(const std::vector<std::string>& lines, const std::string& line, std::size_t from) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == line) return i + 1;
    }
    return std::string::npos;
}

// Every row of every table, in order, is a line of the report, formatted as the report row.
inline void expectTablesInReport(const JsonRun& r) {
    std::size_t at = 0;
    for (const json& table : r.doc.at("capacityTables")) {
        SCOPED_TRACE(table.at("method").get<std::string>());
        const bool tension = table.at("loading") == "tension";
        for (const json& row : table.at("rows")) {
            Line line;
            line.x(11).f(row.at("pileLength").get<double>(), 7, 2);
            if (table.at("depthColumn").get<bool>()) line.x(6).f(row.at("depth").get<double>(), 7, 2);
            line.x(6).f(row.at("skinFriction").get<double>(), 8, 1).x(6);
            line.f(row.at(tension ? "selfWeight" : "endBearing").get<double>(), 8, 1);
            if (table.at("plugColumns").get<bool>()) {
                line.a(row.at("plugControlsTip").get<bool>() ? "*" : " ").x(3);
                line.f(row.at("ultimateCapacity").get<double>(), 9, 1).x(3).f(row.at("plugLength").get<double>(), 9, 2);
            } else {
                line.x(4).f(row.at("ultimateCapacity").get<double>(), 9, 1);
            }
            const std::size_t next = findFrom(r.report, line.str(), at);
            ASSERT_NE(next, std::string::npos) << "not in the report: " << line.str();
            at = next;
        }
    }
}

inline void expectCurvePoints(const std::vector<std::string>& report, const json& curve, std::size_t& at) {
    for (std::size_t j = 0; j < curve.at("t").size(); ++j) {
        const Line point = Line().x(40).e(curve.at("t")[j].get<double>(), 17, 4).e(curve.at("z")[j].get<double>(), 16, 4);
        const std::size_t next = findFrom(report, point.str(), at);
        ASSERT_NE(next, std::string::npos) << "not in the report: " << point.str();
        at = next;
    }
}

inline void expectLoadSettlementInReport(const JsonRun& r) {
    const json& ls = r.doc.at("loadSettlement");
    std::size_t at = 0;
    int number = 0;
    for (const json& curve : ls.at("tzCurvesPrinted")) {
        const Line heading = Line().x(8).i(++number, 5).i(10, 11).e(curve.at("depthBelowGround").get<double>(), 16, 4);
        at = findFrom(r.report, heading.str(), at);
        ASSERT_NE(at, std::string::npos) << heading.str();
        expectCurvePoints(r.report, curve, at);
    }
    for (std::size_t j = 0; j < ls.at("tipCurve").at("load").size(); ++j) {
        const Line row = Line().e(ls.at("tipCurve").at("load")[j].get<double>(), 18, 4)
                             .e(ls.at("tipCurve").at("movement")[j].get<double>(), 19, 4);
        at = findFrom(r.report, row.str(), at);
        ASSERT_NE(at, std::string::npos) << row.str();
    }
    for (const json& p : ls.at("points")) {
        const Line row = Line().e(p.at("topLoad").get<double>(), 17, 4).e(p.at("topMovement").get<double>(), 16, 4)
                             .e(p.at("tipLoad").get<double>(), 16, 4).e(p.at("tipMovement").get<double>(), 16, 4);
        at = findFrom(r.report, row.str(), at);
        ASSERT_NE(at, std::string::npos) << row.str();
    }
    // The load distribution is written to the plot-data file only.
    std::size_t plotAt = 0;
    for (const json& step : ls.at("loadDistribution")) {
        for (const json& inc : step.at("increments")) {
            const Line row = Line().e(inc.at("distanceFromHead").get<double>(), 16, 4)
                                 .e(inc.at("load").get<double>(), 16, 4).e(inc.at("movement").get<double>(), 16, 4);
            plotAt = findFrom(r.plot, row.str(), plotAt);
            ASSERT_NE(plotAt, std::string::npos) << row.str();
        }
    }
    for (const json& curve : ls.at("verificationCurves")) {
        if (!curve.at("insideSoilProfile").get<bool>()) continue;
        expectCurvePoints(r.report, curve, at);
    }
}

// --- a light check against the schema: "$ref", "type", "required", "properties", "items" and
// "additionalProperties" -------------------------------------------------------------------------
inline bool hasType(const json& value, const std::string& type) {
    if (type == "object") return value.is_object();
    if (type == "array") return value.is_array();
    if (type == "string") return value.is_string();
    if (type == "boolean") return value.is_boolean();
    if (type == "null") return value.is_null();
    if (type == "integer") return value.is_number_integer();
    if (type == "number") return value.is_number();
    return false;
}

inline void checkAgainst(const json& schema, const json& root, const json& value, const std::string& path,
                  std::vector<std::string>& problems) {
    if (schema.contains("$ref")) {
        const std::string ref = schema.at("$ref");
        checkAgainst(root.at(json::json_pointer(ref.substr(1))), root, value, path, problems);
        return;
    }
    if (schema.contains("type")) {
        const json& type = schema.at("type");
        bool ok = false;
        if (type.is_string()) ok = hasType(value, type);
        for (const json& t : type.is_array() ? type : json::array()) ok = ok || hasType(value, t);
        if (!ok) {
            problems.push_back(path + ": type " + std::string(value.type_name()) + ", schema " + type.dump());
            return;
        }
    }
    if (value.is_object()) {
        for (const json& key : schema.value("required", json::array())) {
            if (!value.contains(key.get<std::string>())) problems.push_back(path + ": no " + key.get<std::string>());
        }
        const json properties = schema.value("properties", json::object());
        for (const auto& [key, item] : value.items()) {
            if (properties.contains(key)) {
                checkAgainst(properties.at(key), root, item, path + "/" + key, problems);
            } else if (schema.contains("additionalProperties") && schema.at("additionalProperties").is_object()) {
                checkAgainst(schema.at("additionalProperties"), root, item, path + "/" + key, problems);
            } else if (schema.value("additionalProperties", json(true)) == json(false)) {
                problems.push_back(path + ": unexpected " + key);
            }
        }
    }
    if (value.is_array() && schema.contains("items")) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            checkAgainst(schema.at("items"), root, value[i], path + "/" + std::to_string(i), problems);
        }
    }
}

inline void expectFollowsSchema(const json& doc) {
    const json schema = json::parse(testing::readFile(kSource + "/docs/json-schema.json"));
    EXPECT_EQ(schema.at("properties").at("schema_version").at("const"), output::kJsonSchemaVersion);
    std::vector<std::string> problems;
    checkAgainst(schema, schema, doc, "", problems);
    for (const std::string& p : problems) ADD_FAILURE() << p;
}


}  // namespace pileaxial::json_checks
