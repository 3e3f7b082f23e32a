#include "engine/control_file.hpp"

#include <filesystem>
#include <optional>
#include <string>

#include "textio/list_reader.hpp"
#include "textio/record_writer.hpp"

namespace pileaxial {

namespace {

constexpr std::size_t kNameWidth = 255;

std::string trimName(std::string name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '\r' || name.back() == '\t')) {
        name.pop_back();
    }
    return name;
}

std::string askForName(std::ostream& console, std::istream& consoleIn, const char* prompt,
                       const char* what) {
    textio::RecordWriter out(&console);
    out.blank(2);
    out.put(textio::Line().x(7).a(prompt));
    out.put(" ENTER >");
    console.flush();
    std::string answer;
    if (!std::getline(consoleIn, answer)) {
        throw InputError(std::string("names.dat does not name the ") + what +
                         " file, and no name was entered at the console");
    }
    return trimName(answer.substr(0, std::min(answer.size(), kNameWidth)));
}

// True when `name` is the control file itself (or a path to it).
bool IsControlFile(const std::string& name) {
    if (name.empty()) return false;
    std::error_code ec1, ec2;
    // Made absolute first: a name that does not exist yet is otherwise left as it was spelt.
    const auto file = std::filesystem::weakly_canonical(std::filesystem::absolute(name, ec1), ec1);
    const auto control = std::filesystem::weakly_canonical(std::filesystem::absolute("names.dat", ec2), ec2);
    if (ec1 || ec2) return name == "names.dat";
    return file == control;
}

}  // namespace

RunFileSet ReadControlFile(std::istream& names, std::ostream& console, std::istream& consoleIn) {
    textio::ListReader reader(names, "names.dat");
    reader.readText(12, "1");
    reader.readText(256, "2");
    reader.readText(256, "3");
    reader.readInt("4", "1");

    RunFileSet files;
    // The line of each name: record 4 is list-directed and may have run onto the following lines.
    int lines[3] = {};
    std::optional<std::string> input = reader.tryReadText(kNameWidth);
    lines[0] = reader.lineNumber();
    std::optional<std::string> output = input ? reader.tryReadText(kNameWidth) : std::nullopt;
    lines[1] = reader.lineNumber();
    std::optional<std::string> plot = output ? reader.tryReadText(kNameWidth) : std::nullopt;
    lines[2] = reader.lineNumber();
    std::optional<std::string> cpt = plot ? reader.tryReadText(kNameWidth) : std::nullopt;
    const bool fromFile = input && output && plot;
    // Where a name came from, for messages.
    const char* records[3] = {"record 5 (input data file name)", "record 6 (output file name)",
                              "record 7 (plot-data file name)"};
    const auto source = [&](int i) {
        return fromFile ? "names.dat, line " + std::to_string(lines[i]) + ", " + records[i]
                        : std::string("the console answer for the ") + (i == 1 ? "output" : "plot-data") +
                              " file name";
    };
    if (fromFile) {
        files.inputName = trimName(*input);
        files.outputName = trimName(*output);
        files.plotName = trimName(*plot);
        // A blank record 8 means no sounding; these three files every run needs.
        const std::string* given[3] = {&files.inputName, &files.outputName, &files.plotName};
        const char* whats[3] = {"input data", "report", "plot-data"};
        for (int i = 0; i < 3; ++i) {
            if (given[i]->empty()) {
                throw InputError(source(i) + ": the line is blank; it must name the " + whats[i] + " file");
            }
        }
    } else {
        files.inputName = askForName(console, consoleIn, "ENTER A FILE NAME FOR YOUR INPUT FILE.", "input");
        files.outputName = askForName(console, consoleIn, "ENTER A FILE NAME FOR YOUR OUTPUT FILE.", "output");
        files.plotName =
            askForName(console, consoleIn, "ENTER A FILE NAME FOR YOUR GRAPHIC DATA FILE.", "plot-data");
    }
    if (cpt) files.cptName = trimName(*cpt);
    // The host writes names.dat for every run: a report or plot file of that name would destroy it.
    if (IsControlFile(files.outputName)) {
        throw InputError(source(1) + ": the report file \"" + files.outputName +
                         "\" is the control file names.dat; the run would overwrite it");
    }
    if (IsControlFile(files.plotName)) {
        throw InputError(source(2) + ": the plot-data file \"" + files.plotName +
                         "\" is the control file names.dat; the run would overwrite it");
    }
    return files;
}

}  // namespace pileaxial
