// The player's bindings: the defaults are today's keys; a binding that names no key, too many,
// or a key kept for something else falls back to the default with a warning naming its line; a
// key shared by two game keys leaves one of them its default; Enter and Escape always keep one.

#include "platform/bindings.h"

#include <gtest/gtest.h>

#include <map>

using platform::Key;

namespace {

// Names as a platform would give them: a few keys, a few pad inputs, F1 kept.
int keyCode(const std::string& name) {
    static const std::map<std::string, int> codes = {
        {"Up", 1},           {"Down", 2},   {"Left", 3}, {"Right", 4}, {"Return", 5},
        {"Keypad Enter", 6}, {"Escape", 7}, {"W", 8},    {"A", 9},     {"S", 10},
        {"D", 11},           {"Space", 12}, {"F1", 13}};
    const auto it = codes.find(name);
    return it == codes.end() ? bindings::None : it->second;
}
const char* keyKept(int code) {
    return code == 13 ? "showing the keys" : nullptr;
}
int padCode(const std::string& name) {
    static const std::map<std::string, int> codes = {
        {"dpup", 11},    {"dpdown", 12},  {"dpleft", 13},  {"dpright", 14},
        {"a", 0},        {"b", 1},        {"start", 6},    {"x", 2},
        {"lefty-", 102}, {"lefty+", 103}, {"leftx-", 100}, {"leftx+", 101}};
    const auto it = codes.find(name);
    return it == codes.end() ? bindings::None : it->second;
}

bindings::Bindings resolve(const settings::Settings& s, std::vector<std::string>& warnings) {
    return bindings::resolve(s, keyCode, keyKept, padCode, "settings.conf", warnings);
}

Key keyOf(const bindings::Bindings& b, int code) {
    Key key = Key::Up;
    int place = -1;
    EXPECT_TRUE(bindings::keyboardKeyOf(b, code, key, place)) << code;
    return key;
}

TEST(Bindings, TheDefaultsAreTheArrowsReturnAndEscape) {
    std::vector<std::string> warnings;
    const bindings::Bindings b = resolve(settings::Settings{}, warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(keyOf(b, 1), Key::Up);
    EXPECT_EQ(keyOf(b, 6), Key::Enter); // the keypad's Enter too
    EXPECT_EQ(keyOf(b, 7), Key::Escape);
    Key key = Key::Up;
    int place = 0;
    EXPECT_FALSE(bindings::keyboardKeyOf(b, 8, key, place)); // W is no key of the game's
    EXPECT_TRUE(bindings::padKeyOf(b, 102, key, place));     // the stick up is Up
    EXPECT_EQ(key, Key::Up);
    EXPECT_EQ(place, 1);
    EXPECT_TRUE(bindings::padKeyOf(b, 6, key, place)); // Start is Enter
    EXPECT_EQ(key, Key::Enter);
}

TEST(Bindings, ABadBindingGivesItsDefaultWithAWarningNamingTheLine) {
    settings::Settings s;
    s.keys[0] = {"W, Up", 12};       // up: two keys
    s.keys[1] = {"S", 13};           // down
    s.keys[2] = {"Nope", 14};        // left: no such key
    s.keys[3] = {"D, A, Space", 15}; // right: three
    s.keys[4] = {"F1", 16};          // enter: kept for the keys card
    s.keys[5] = {"S", 17};           // escape: shares S with down
    s.pads[4] = {"x", 20};
    std::vector<std::string> warnings;
    const bindings::Bindings b = resolve(s, warnings);
    EXPECT_EQ(keyOf(b, 8), Key::Up);
    EXPECT_EQ(keyOf(b, 1), Key::Up);
    EXPECT_EQ(keyOf(b, 10), Key::Down);
    EXPECT_EQ(keyOf(b, 3), Key::Left);   // its default
    EXPECT_EQ(keyOf(b, 4), Key::Right);  // its default
    EXPECT_EQ(keyOf(b, 5), Key::Enter);  // Enter keeps a key
    EXPECT_EQ(keyOf(b, 7), Key::Escape); // and so does Escape
    EXPECT_EQ(b.keyboardNames[5], "Escape");
    ASSERT_EQ(warnings.size(), 4u) << testing::PrintToString(warnings);
    EXPECT_EQ(warnings[0], "settings.conf:14: key.left names no key ('Nope'): Left stands for "
                           "it, as by default");
    EXPECT_NE(warnings[1].find("settings.conf:15: key.right names more than 2 keys"),
              std::string::npos);
    EXPECT_NE(warnings[2].find("settings.conf:16: key.enter names F1, which is kept for showing "
                               "the keys: Return, Keypad Enter stands for it"),
              std::string::npos);
    EXPECT_EQ(warnings[3], "settings.conf:17: key.escape shares a key with key.down: Escape "
                           "stands for it, as by default");
    Key key = Key::Up;
    int place = 0;
    EXPECT_TRUE(bindings::padKeyOf(b, 2, key, place));
    EXPECT_EQ(key, Key::Enter);
    EXPECT_FALSE(bindings::padKeyOf(b, 0, key, place)); // A no longer is

    // A default taken by another key: the one moved away from its default gives way, and a key
    // moved onto another's default leaves that one its own.
    settings::Settings swapped;
    swapped.keys[1] = {"Up", 3};
    warnings.clear();
    const bindings::Bindings c = resolve(swapped, warnings);
    EXPECT_EQ(keyOf(c, 1), Key::Up);
    EXPECT_EQ(keyOf(c, 2), Key::Down);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("settings.conf:3: key.down shares a key with key.up"),
              std::string::npos);
}

} // namespace
