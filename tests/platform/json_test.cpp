#include <gtest/gtest.h>

#include "platform/json.h"
#include "platform/trace.h"

namespace dalvo::platform {
namespace {

TEST(JsonWriter, NestsContainersWithCommasInTheRightPlaces) {
    JsonWriter w;
    w.begin_object();
    w.field("a", 1).field("b", -2.5).field("c", true);
    w.array_field("names", std::vector<std::string>{"", "高城"});
    w.key("menu").begin_object();
    w.key("x").begin_object().field("enabled", false).end_object();
    w.key("y").begin_array().begin_array().end_array().null().end_array();
    w.end_object();
    w.end_object();
    EXPECT_EQ(w.str(),
              R"({"a":1,"b":-2.5,"c":true,"names":["","高城"],"menu":{"x":{"enabled":false},"y":[[],null]}})");
}

TEST(JsonEscape, KeepsUtf8AndEscapesControlsQuotesAndBrokenBytes) {
    EXPECT_EQ(json_escape("終了しますか？"), "終了しますか？");
    EXPECT_EQ(json_escape("a\"b\\c\nd\te\x01"), "a\\\"b\\\\c\\nd\\te\\u0001");
    // A lone Shift-JIS byte or a cut sequence would make the line invalid JSON.
    EXPECT_EQ(json_escape("x\x82y"), "x\\ufffdy");
    EXPECT_EQ(json_escape("\xC0\xAF"), "\\ufffd\\ufffd");  // overlong '/'
}

TEST(Trace, LinesCountTimeFromTheTraceStartAndReachObserversAndTheFile) {
    VirtualClock clock(5000);
    Trace trace(clock);
    const auto file = std::filesystem::path(testing::TempDir()) / "trace_test.jsonl";
    ASSERT_TRUE(trace.open(file));
    std::vector<std::string> lines;
    trace.add_observer([&](const std::string& line) { lines.push_back(line); });
    clock.sleep(120);
    trace.event("msgbox", {{"text", "終了しますか？"}, {"buttons", "yesno"}, {"answer", "no"}});
    trace.event("level", {{"value", 65535u}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"t":120,"ev":"msgbox","text":"終了しますか？","buttons":"yesno","answer":"no"})");
    EXPECT_EQ(lines[1], R"({"t":120,"ev":"level","value":65535})");
    // Written and flushed at once, so a reader sees it while the program runs.
    std::ifstream in(file);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, lines[0]);
}

}  // namespace
}  // namespace dalvo::platform
