// The one reader of the structure's tables: fields, items, numbers and
// ranges, notes and line numbers, and words given twice.

#include "core/TableText.h"

#include <gtest/gtest.h>

using namespace tsl;

namespace {

using Views = std::vector<std::string_view>;

} // namespace

TEST(TableText, SplitsFieldsItemsAndNumbers)
{
    EXPECT_EQ(Fields(" a , b,,c "), (Views{"a", "b", "", "c"}));
    EXPECT_EQ(Fields(""), (Views{""}));
    EXPECT_EQ(Fields("12, Death scream 2, and 3", ',', 2), (Views{"12", "Death scream 2, and 3"}));
    EXPECT_EQ(Items(" n \te  s "), (Views{"n", "e", "s"}));
    EXPECT_TRUE(Items(" \t").empty());

    const struct {
        const char* text;
        std::optional<int> number;
        std::optional<std::pair<int, int>> range;
    } cases[] = {
        {"7", 7, std::pair{7, 7}},
        {"0", 0, std::pair{0, 0}},
        {"3-9", std::nullopt, std::pair{3, 9}},
        {"3 - 9", std::nullopt, std::pair{3, 9}},
        {"9-3", std::nullopt, std::nullopt},
        {"-1", std::nullopt, std::nullopt},
        {"11", std::nullopt, std::nullopt}, // past the highest, 10
        {"", std::nullopt, std::nullopt},
        {"4x", std::nullopt, std::nullopt},
        {"+4", std::nullopt, std::nullopt},
        {"99999999999", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WholeNumber(c.text, 0, 10), c.number);
        EXPECT_EQ(NumberRange(c.text, 0, 10), c.range);
    }
}

TEST(TableText, ReadsTheLinesThatHoldSomethingAndNamesTheFirstThatIsWrong)
{
    std::vector<std::pair<std::size_t, std::string>> read;
    const auto failure = ReadTable("# a note\r\n  first \r\n\r\n\t# another\nsecond\rbad\nnever\n", "t.txt", "Caption",
                                   [&](const TableLine& line) -> std::optional<std::string> {
                                       read.emplace_back(line.number, std::string(line.text));
                                       if (line.text == "bad")
                                           return std::string("it is bad");
                                       return std::nullopt;
                                   });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text, "Line 6 of \"t.txt\": it is bad.");
    EXPECT_EQ(failure->caption, "Caption");
    EXPECT_EQ(read, (std::vector<std::pair<std::size_t, std::string>>{{2, "first"}, {5, "second"}, {6, "bad"}}));
}

TEST(TableText, AWordOfAPlaneIsGivenOnOneLineOnly)
{
    const struct {
        const char* text;
        const char* message; // nothing: the table reads
    } cases[] = {
        {"0,1-5,a\r\n1,1-5,a\r\n0,6,a", nullptr},
        {"0,1-5,a\r\n0,3,a", "Line 2 of \"t\": plane 0 word 3 has a thing already, on line 1."},
        {"0,5,a\r\n0,1-9,a", "Line 2 of \"t\": plane 0 word 5 has a thing already, on line 1."},
        {"0,5-8,a\r\n0,1,a\r\n0,0-6,a", "Line 3 of \"t\": plane 0 word 1 has a thing already, on line 2."},
        {"0,1", "Line 1 of \"t\": a thing is plane,words,kind."},
        {"100,1,a", "Line 1 of \"t\": the plane is a number from 0 to 99."},
        {"0,1-65536,a", "Line 1 of \"t\": the words are a number from 0 to 65535 or a range first-last."},
        {"0,1,b", "Line 1 of \"t\": not b."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> kinds;
        const auto failure =
            ReadWordTable(c.text, "t", "Caption", "a thing is plane,words,kind", "a thing",
                          [&](const WordLine& line) -> std::optional<std::string> {
                              if (line.kind != "a")
                                  return "not " + std::string(line.kind);
                              kinds.emplace_back(line.kind);
                              return std::nullopt;
                          });
        if (c.message) {
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->text, c.message);
        } else {
            EXPECT_FALSE(failure) << failure->text;
            EXPECT_EQ(kinds.size(), 3u);
        }
    }
}
