// main() for the Qt test programs: runs headless unless told otherwise.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>

int main(int argc, char **argv)
{
    // Test discovery runs this binary at build time without the test environment.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // A runtime directory of our own, removed again on the way out: every run
    // of every test binary would otherwise leave one behind in the temp folder.
    std::string runtimeDir;
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        std::string dir = (std::filesystem::temp_directory_path() / "korvana-xdg-XXXXXX").string();
        if (mkdtemp(dir.data())) {
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
            runtimeDir = dir;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    int rc = 0;
    {
        QApplication app(argc, argv);
        rc = RUN_ALL_TESTS();
    }
    if (!runtimeDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir, ignored);
    }
    return rc;
}
