// Classic experiments of the mechanics textbooks, each built in code as a
// small scene, saved as a simulation file in memory and read back, then run
// through the mechanical step the way the command-line tool runs a file:
// one step context, a fixed step of 1 ms unless the row says otherwise. Each
// row compares what the run measured with the textbook formula's value and
// states the tolerance it is held to. The test checks every row; the table
// program prints them as the Markdown table of the README.
#pragma once

#include <string>
#include <vector>

namespace velo::textbook {

// How far the measured value may lie from the textbook's.
enum class ToleranceKind {
    Relative,  // |measured - expected| <= tolerance * |expected|
    Absolute,  // |measured - expected| <= tolerance, in the row's unit
};

struct Outcome {
    double Expected = 0;
    double Measured = 0;
};

struct Experiment {
    std::string Name;     // what is done and what is measured
    std::string Formula;  // the textbook formula (Markdown)
    std::string Unit;     // of the expected and the measured value; empty for a ratio
    ToleranceKind Kind = ToleranceKind::Relative;
    double Tolerance = 0;
    Outcome (*Run)();
};

// Every experiment, in the order of the table.
const std::vector<Experiment>& Experiments();

struct ExperimentResult {
    const Experiment* Row = nullptr;
    Outcome Values;
    bool Passed = false;
};

ExperimentResult RunExperiment(const Experiment& experiment);

// The table of results in Markdown, one line per row, with a header.
std::string MarkdownTable(const std::vector<ExperimentResult>& results);

}  // namespace velo::textbook
