// Runs the textbook experiments and prints their table in Markdown.
//   textbook_table                 print the table
//   textbook_table --write FILE    put it into FILE between the table's marks
//   textbook_table --check FILE    exit 1 when FILE's table is not the one printed
// The README keeps the table between the lines TableBegin and TableEnd.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "textbook/textbook_experiments.h"

namespace {

constexpr const char* TableBegin = "<!-- textbook table: written by textbook_table --write README.md -->\n";
constexpr const char* TableEnd = "<!-- end of the textbook table -->\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace velo::textbook;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!(args.empty() || (args.size() == 2 && (args[0] == "--write" || args[0] == "--check")))) {
        std::cerr << "usage: textbook_table [--write FILE | --check FILE]\n";
        return 2;
    }
    std::vector<ExperimentResult> results;
    bool allPassed = true;
    for (const Experiment& experiment : Experiments()) {
        results.push_back(RunExperiment(experiment));
        allPassed = allPassed && results.back().Passed;
    }
    const std::string table = MarkdownTable(results);
    if (args.empty()) {
        std::cout << table;
        return allPassed ? 0 : 1;
    }

    std::ifstream in(args[1], std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    const std::size_t begin = text.find(TableBegin);
    const std::size_t end = begin == std::string::npos ? std::string::npos : text.find(TableEnd, begin);
    if (!in || end == std::string::npos) {
        std::cerr << args[1] << ": no textbook table marks in the file (the lines \"" << TableBegin << "\" and \""
                  << TableEnd << "\")\n";
        return 2;
    }
    const std::size_t from = begin + std::string(TableBegin).size();
    const std::string updated = text.substr(0, from) + table + text.substr(end);
    if (args[0] == "--check") {
        if (updated == text) return 0;
        std::cerr << args[1] << ": the textbook table is out of date; run textbook_table --write " << args[1] << '\n';
        return 1;
    }
    std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
    out << updated;
    if (!out) {
        std::cerr << args[1] << ": could not be written\n";
        return 2;
    }
    return allPassed ? 0 : 1;
}
