// Every experiment of the textbook table agrees with its formula within the
// tolerance the row states.
#include <gtest/gtest.h>

#include <string>

#include "textbook/textbook_experiments.h"

namespace velo::textbook {
namespace {

class TextbookExperiment : public ::testing::TestWithParam<std::size_t> {};

TEST_P(TextbookExperiment, AgreesWithTheTextbook) {
    const Experiment& experiment = Experiments()[GetParam()];
    const ExperimentResult result = RunExperiment(experiment);
    EXPECT_TRUE(result.Passed) << experiment.Name << ": textbook " << result.Values.Expected << ", measured "
                               << result.Values.Measured << " " << experiment.Unit;
}

INSTANTIATE_TEST_SUITE_P(Table, TextbookExperiment, ::testing::Range<std::size_t>(0, Experiments().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return "Row" + std::to_string(info.param + 1);
                         });

}  // namespace
}  // namespace velo::textbook
