// main() for the Qt test programs: runs headless unless told otherwise.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char **argv)
{
    // Test discovery runs this binary at build time without the test environment.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        std::string dir = (std::filesystem::temp_directory_path() / "korvana-xdg-XXXXXX").string();
        if (mkdtemp(dir.data()))
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
