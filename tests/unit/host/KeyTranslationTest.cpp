// Spot checks of the GLFW key table and of the characters editing keys type.
#include <gtest/gtest.h>

#include "host/KeyTranslation.h"

namespace {

TEST(KeyTranslation, TableCoversSpaceToRightControl) { EXPECT_EQ(keys::kTableSize, 314); }

TEST(KeyTranslation, DigitsAndLettersKeepTheirValue) {
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_0), 48);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_9), 57);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_A), 65);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_Z), 90);
}

TEST(KeyTranslation, PunctuationEditingAndFunctionKeys) {
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_SPACE), 32);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_APOSTROPHE), 222);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_SEMICOLON), 186);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_GRAVE_ACCENT), 192);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_BACKSLASH), 220);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_ESCAPE), 27);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_ENTER), 13);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_LEFT), 37);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_DOWN), 40);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_PAGE_UP), 33);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_END), 35);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_F1), 112);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_F12), 123);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_0), 96);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_9), 105);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_MULTIPLY), 106);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_SUBTRACT), 109);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_DECIMAL), 110);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_RIGHT_SHIFT), 16);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_RIGHT_CONTROL), 17);
}

TEST(KeyTranslation, KeysTheTrackerDoesNotUseGiveNothing) {
    for (int key :
         {GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT, GLFW_KEY_LEFT_SUPER, GLFW_KEY_MENU, GLFW_KEY_KP_ENTER,
          GLFW_KEY_KP_EQUAL, GLFW_KEY_F13, GLFW_KEY_F25, GLFW_KEY_CAPS_LOCK, GLFW_KEY_NUM_LOCK, GLFW_KEY_PRINT_SCREEN,
          GLFW_KEY_PAUSE, GLFW_KEY_WORLD_1, GLFW_KEY_WORLD_2, GLFW_KEY_UNKNOWN, 0, 31, 346, 1000})
        EXPECT_EQ(keys::TranslateGlfwKey(key), 0) << key;
}

TEST(KeyTranslation, EveryTranslatedCodeIsAKeyboardCode) {
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        const int code = keys::TranslateGlfwKey(key);
        EXPECT_TRUE(code == 0 || (code >= 8 && code <= 222)) << key;
    }
}

TEST(KeyTranslation, EditingKeysTypeTheirCharacters) {
    EXPECT_EQ(keys::KeyPressCharacter(8), 8);
    EXPECT_EQ(keys::KeyPressCharacter(13), 13);
    EXPECT_EQ(keys::KeyPressCharacter(37), 65573);
    EXPECT_EQ(keys::KeyPressCharacter(38), 65574);
    EXPECT_EQ(keys::KeyPressCharacter(45), 65581);
    EXPECT_EQ(keys::KeyPressCharacter(46), 127);
    // Printable keys type through the character callback instead.
    EXPECT_EQ(keys::KeyPressCharacter(65), 0);
    EXPECT_EQ(keys::KeyPressCharacter(32), 0);
    EXPECT_EQ(keys::KeyPressCharacter(16), 0);
}

// The names the editor reads the queue by are the characters the keys type.
TEST(KeyTranslation, NamedCharactersAreTheTypedOnes) {
    const int named[] = {keys::kPageUpChar, keys::kPageDownChar, keys::kEndChar,  keys::kHomeChar,  keys::kLeftChar,
                         keys::kUpChar,     keys::kRightChar,    keys::kDownChar, keys::kDeleteChar};
    const int typed[] = {65569, 65570, 65571, 65572, 65573, 65574, 65575, 65576, 127};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(named[i], typed[i]) << i;
    for (int f = 0; f < 12; ++f) EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_F1 + f), keys::kF1 + f);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_DELETE), keys::kDelete);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_ADD), keys::kKeypadAdd);
    EXPECT_EQ(keys::TranslateGlfwKey(GLFW_KEY_KP_DIVIDE), keys::kKeypadDivide);
}

}  // namespace
