// The committed samples are the ones the generator makes, and each loads.
#include <QTableWidget>

#include "examples_builder.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

using ExamplesTest = WindowTest;

TEST_F(ExamplesTest, CommittedSamplesAreCurrentAndLoad) {
    Start();
    const std::filesystem::path examples = TESSVANE_EXAMPLES_DIR;
    const std::vector<int> rows = {6, 4, 3};
    std::size_t i = 0;
    for (const auto& [name, bytes] : BuildExamples()) {
        const std::filesystem::path path = examples / name;
        ASSERT_TRUE(std::filesystem::exists(path))
            << path << ": run tessvane_make_examples examples";
        EXPECT_EQ(ReadFileBytes(path), bytes)
            << name << " is out of date: run tessvane_make_examples examples";
        Load(path.string());
        EXPECT_EQ(Find<QTableWidget>("PathDetailList")->rowCount(), rows.at(i++)) << name;
    }
    EXPECT_TRUE(dialogs.MessageTexts() == std::vector<std::string>{"Unable to load settings."});
}

}  // namespace
}  // namespace tessvane::testing
