// The Configure mode's own loop, driven in-process with a folder chooser that
// answers as a user would, and a second thread that answers its messages.
#include "runner/configure.h"
#include "runner/file_exists.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/win_test_support.h"

namespace {

using namespace vtest;

// Presses OK on every "Error" message box of this process and keeps its text.
class MessageAnswerer {
public:
    MessageAnswerer()
        : m_thread([this] {
              while (!m_stop) {
                  HWND box = nullptr;
                  for (HWND hwnd : TopLevelWindowsOf(GetCurrentProcessId()))
                      if (ClassNameOf(hwnd) == "#32770" && IsWindowVisible(hwnd) &&
                          WindowText(hwnd) == "Error")
                          box = hwnd;
                  if (box) {
                      {
                          std::lock_guard<std::mutex> hold(m_lock);
                          m_texts.push_back(MessageBoxText(box));
                      }
                      SendMessageA(box, WM_COMMAND, IDOK, 0);
                      // Wait for it to go before looking again.
                      for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
                  }
                  Sleep(20);
              }
          }) {}
    ~MessageAnswerer() {
        m_stop = true;
        m_thread.join();
    }
    std::vector<std::string> Texts() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_texts;
    }

private:
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

// The folders a user picks in turn; after the last one the user cancels.
std::deque<std::string> g_choices;
int g_browsed = 0;

bool ScriptedChooser(HWND, std::string& folder) {
    ++g_browsed;
    if (g_choices.empty()) return false;
    folder = g_choices.front();
    g_choices.pop_front();
    return true;
}

std::string Unable(const std::string& path) {
    return "Unable to find " + path + "\nPlease select the right path where the file is located.";
}

std::string StoredProgramPath() {
    char value[1024] = "";
    GetPrivateProfileStringA("General", "ProgramPath", "<none>", value, sizeof value,
                             "Velmora.ini");
    return value;
}

class ConfigureLoop : public ::testing::Test {
protected:
    void SetUp() override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini");
        DeleteFileA(IniPath().c_str());
        g_choices.clear();
        g_browsed = 0;
        release.Set();  // the probe ends as soon as it has logged its start
    }

    std::string PlaceProbe(const std::string& folder) {
        std::string target = folder + "\\Velmora.exe";
        CopyFileA((BinDir() + "\\config_probe.exe").c_str(), target.c_str(), FALSE);
        return target;
    }

    // A folder under base whose path has exactly the given length.
    static std::string FolderOfLength(const std::string& base, size_t length) {
        std::string path = base;
        while (length - path.size() > 150) {
            path += "\\" + std::string(100, 'd');
            CreateDirectoryA(path.c_str(), nullptr);
        }
        path += "\\" + std::string(length - path.size() - 1, 'e');
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    FileRestorer ini{IniPath()};
    TempDir wrong{"wrong"};
    TempDir right{"right"};
    NamedEvent release{"release"};
    ScopedEnv logVar{"VELMORA_CONFIG_PROBE_LOG", right / "probe.log"};
    ScopedEnv releaseVar{"VELMORA_CONFIG_PROBE_RELEASE", release.name()};
};

TEST_F(ConfigureLoop, WrongFolderThenRightFolderStartsAndStoresTheProgram) {
    std::string program = PlaceProbe(right.path());
    g_choices = {wrong.path(), right.path()};
    {
        MessageAnswerer answers;
        RunConfigurationProgram(nullptr, ScriptedChooser);
        PumpFor(100);
        EXPECT_EQ(answers.Texts(),
                  (std::vector<std::string>{Unable(""), Unable(wrong / "Velmora.exe")}));
    }
    EXPECT_EQ(g_browsed, 2);
    EXPECT_EQ(StoredProgramPath(), program);
    std::vector<ProbeStart> starts = ReadProbeLog(right / "probe.log");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].ppid, GetCurrentProcessId());
    EXPECT_EQ(ArgumentsOf(starts[0].commandLine), "") << starts[0].commandLine;
    EXPECT_TRUE(SamePath(starts[0].currentDir, right.path()));
}

TEST_F(ConfigureLoop, PathsThatDoNotFitAreNotFoundAndNeverCut) {
    // A folder whose path plus "\Velmora.exe" is exactly 260 characters, with
    // the program really in it: too long for the program's buffers.
    std::string tooLong = FolderOfLength(right.path(), 260 - 12);
    ASSERT_TRUE(PathExists(tooLong));
    std::string longProgram = PlaceProbe(tooLong);
    ASSERT_EQ(longProgram.size(), 260u);
    ASSERT_TRUE(FileExists(longProgram.c_str()));

    // One character shorter fits.
    std::string fits = FolderOfLength(wrong.path(), 259 - 12);
    ASSERT_TRUE(PathExists(fits));
    std::string fittingProgram = PlaceProbe(fits);
    ASSERT_EQ(fittingProgram.size(), 259u);

    // Stored too long, then chosen too long, then the one that fits.
    WritePrivateProfileStringA("General", "ProgramPath", longProgram.c_str(), "Velmora.ini");
    g_choices = {tooLong, fits};
    {
        MessageAnswerer answers;
        RunConfigurationProgram(nullptr, ScriptedChooser);
        PumpFor(100);
        std::vector<std::string> texts = answers.Texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], Unable(longProgram));
        EXPECT_EQ(texts[1], Unable(longProgram));
    }
    EXPECT_EQ(StoredProgramPath(), fittingProgram);
    EXPECT_EQ(ReadProbeLog(right / "probe.log").size(), 1u) << "started once, the one that fits";
}

TEST_F(ConfigureLoop, CancelWritesNothing) {
    {
        MessageAnswerer answers;
        RunConfigurationProgram(nullptr, ScriptedChooser);
        PumpFor(100);
        EXPECT_EQ(answers.Texts(), std::vector<std::string>{Unable("")});
    }
    EXPECT_EQ(g_browsed, 1);
    EXPECT_FALSE(PathExists(IniPath()));
}

TEST(FileExists, FindsFilesFoldersAndMatchingPatterns) {
    TempDir dir{"exists"};
    WriteFileBytes(dir / "one.scr", "x");
    EXPECT_TRUE(FileExists((dir / "one.scr").c_str()));
    EXPECT_TRUE(FileExists((dir / "*.scr").c_str()));
    EXPECT_TRUE(FileExists(dir.path().c_str()));
    EXPECT_FALSE(FileExists((dir / "two.scr").c_str()));
    EXPECT_FALSE(FileExists((dir / "*.exe").c_str()));
    EXPECT_FALSE(FileExists(""));
}

}  // namespace
