// The generator run by itself into a fresh directory: the player's starting
// files, their protection on a second run, and output that repeats byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/byte_files.h"
#include "support/scratch.h"
#include "tools/picture_files.h"

namespace {

namespace fs = std::filesystem;

class GeneratorRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.ok()) << scratch_.why();
        dir = scratch_.path();
    }
    int run() {
        const std::string command = std::string("'") + VORTIQ_DATA_TOOL + "' '" + dir.string() + "' '" +
                                    (dir / "sheet.png").string() + "' > /dev/null";
        return std::system(command.c_str());
    }
    fs::path base() const { return dir / "base"; }
    ScratchFolder scratch_{ScratchFolder::StayOutside};
    fs::path dir;
};

TEST_F(GeneratorRun, StartsANewPlayerWithFullHighScoreTablesAndDefaultSettings) {
    ASSERT_EQ(run(), 0);
    const std::string scores = readText(base() / "hiscores");
    ASSERT_EQ(scores.size(), 130u);
    for (int table = 0; table < 2; ++table) {
        int32_t previous = INT32_MAX;
        for (int entry = 0; entry < 5; ++entry) {
            const size_t at = static_cast<size_t>(13 * (5 * table + entry));
            const std::string name = scores.substr(at, 9);
            // Letters as the name entry stores them, then `$` to the ninth place.
            size_t letters = 0;
            while (letters < 9 && name[letters] != '$') ++letters;
            EXPECT_GE(letters, 2u) << name;
            EXPECT_TRUE(name[0] >= 'A' && name[0] <= 'Z') << name;
            for (size_t i = 1; i < letters; ++i) EXPECT_TRUE(name[i] >= 'a' && name[i] <= 'z') << name;
            for (size_t i = letters; i < 9; ++i) EXPECT_EQ(name[i], '$') << name;
            const int32_t score = int32At(scores, at + 9);
            EXPECT_GT(score, 0);
            EXPECT_LT(score, 1000000);
            EXPECT_LT(score, previous) << "each table is stored best first";
            previous = score;
        }
    }
    const std::string settings = readText(base() / "menu.inf");
    ASSERT_EQ(settings.size(), 12u);
    EXPECT_EQ(int32At(settings, 0), 0) << "windowed";
    EXPECT_EQ(int32At(settings, 4), 1) << "music on";
    EXPECT_EQ(int32At(settings, 8), 1) << "sound on";
    EXPECT_FALSE(fs::exists(base() / "data.inf")) << "there is no saved game to invent";
    for (const auto& entry : fs::directory_iterator(base())) {
        const std::string extension = entry.path().extension().string();
        EXPECT_TRUE(extension != ".part" && extension != ".new") << "left behind: " << entry.path();
    }
}

TEST_F(GeneratorRun, ASecondRunKeepsThePlayersFilesAndRepeatsEverythingElse) {
    ASSERT_EQ(run(), 0);
    std::vector<std::string> names = {"theme1.xm", "theme2.xm"};
    for (int kind = 1; kind <= 7; ++kind) names.push_back("s" + std::to_string(kind) + ".raw");
    for (const char* sound : {"select", "bad", "new", "combo", "menu", "levelup", "hint", "gameover", "exel",
                              "combo2", "combo3"})
        names.push_back(std::string(sound) + ".wav");
    std::vector<std::string> first;
    for (const std::string& name : names) first.push_back(readText(base() / name));
    const std::string help = readText(dir / "help.htm");

    const std::string myScores = std::string("Zoe$$$$$$") + std::string("\x39\x30\x00\x00", 4) +
                                 std::string(117, '$');
    const std::string mySettings("\x01\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00", 12);
    const std::string mySave(340, '\x01');
    ASSERT_TRUE(writeText(base() / "hiscores", myScores));
    ASSERT_TRUE(writeText(base() / "menu.inf", mySettings));
    ASSERT_TRUE(writeText(base() / "data.inf", mySave));

    ASSERT_EQ(run(), 0);
    EXPECT_EQ(readText(base() / "hiscores"), myScores);
    EXPECT_EQ(readText(base() / "menu.inf"), mySettings);
    EXPECT_EQ(readText(base() / "data.inf"), mySave);
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_FALSE(first[i].empty()) << names[i];
        EXPECT_EQ(readText(base() / names[i]), first[i]) << names[i] << " differs between runs";
    }
    EXPECT_EQ(readText(dir / "help.htm"), help);
}

// Every picture, at both densities, and the contact sheet.
TEST(Generator, TwoRunsWriteTheSameBytes) {
    const ScratchFolder root(ScratchFolder::StayOutside);
    ASSERT_TRUE(root.ok()) << root.why();
    const std::string first = root / "a", second = root / "b";
    for (const std::string& dir : {first, second}) {
        const std::string command = std::string("\"") + VORTIQ_DATA_TOOL + "\" \"" + dir + "\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    for (int density : {1, 2}) {
        for (int n = 0; n <= 80; ++n) {
            const std::string a = readText(picturePath(first, n, density));
            ASSERT_FALSE(a.empty()) << n << " at density " << density;
            EXPECT_TRUE(a == readText(picturePath(second, n, density))) << "tex" << n << " differs between runs";
            EXPECT_TRUE(a == readText(picturePath(VORTIQ_GAME_DIR, n, density))) << "tex" << n
                                                                                  << " differs from the build's";
        }
    }
    const std::string sheet = readText(first + "/contact-sheet.png");
    EXPECT_EQ(sheet.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
    EXPECT_TRUE(sheet == readText(second + "/contact-sheet.png"));
}

// --- The help page in the run directory ---

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(HelpPage, IsAStandaloneHtmlPage) {
    const std::string page = readText(fs::path(VORTIQ_GAME_DIR) / "help.htm");
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos);
    for (const char* tag : {"table", "ul", "p", "h2", "h3", "style", "main"})
        EXPECT_EQ(count(page, std::string("<") + tag + ">") + count(page, std::string("<") + tag + " "),
                  count(page, std::string("</") + tag + ">"))
            << "unbalanced <" << tag << ">";
    EXPECT_EQ(page.find("src="), std::string::npos) << "the page needs no other file";
    EXPECT_EQ(page.find("http"), std::string::npos) << "the page needs no network";
}

TEST(HelpPage, TellsTheRealCostsKeysAndFiles) {
    const std::string page = readText(fs::path(VORTIQ_GAME_DIR) / "help.htm");
    for (const char* fact : {"50 points", "10 time units", "<kbd>P</kbd>", "<kbd>Esc</kbd>", "2.5",
                             "base/hiscores", "base/data.inf", "base/menu.inf", "~/.local/share/vortiq",
                             "1&#8239;000&#8239;000"})
        EXPECT_NE(page.find(fact), std::string::npos) << "the help page does not mention " << fact;
}

TEST(HelpPage, ListsTheKeysAndTheControllerButtons) {
    const std::string page = readText(fs::path(VORTIQ_GAME_DIR) / "help.htm");
    for (const char* key : {"&larr;", "&darr;", "<kbd>Space</kbd>", "<kbd>Enter</kbd>", "<kbd>H</kbd>", "<kbd>N</kbd>",
                            "<kbd>O</kbd>", "<kbd>Q</kbd>", "<kbd>L</kbd>", "<kbd>T</kbd>", "<kbd>Y</kbd>", "<kbd>F11</kbd>",
                            "left stick", "<td>A</td>", "<td>B</td>", "<td>X</td>", "<td>Start</td>", "Back (Select)"})
        EXPECT_NE(page.find(key), std::string::npos) << "the help page does not list " << key;
}

}  // namespace
