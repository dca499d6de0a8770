#include "settings/ProgramPaths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvana {

namespace {

bool isWritableDirectory(const std::string &dir)
{
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

/// mkdir -p; true when the directory exists afterwards.
bool makeDirectories(const std::string &dir)
{
    std::string partial;
    for (std::size_t i = 0; i < dir.size(); ++i) {
        partial += dir[i];
        if ((dir[i] == '/' || i + 1 == dir.size()) && partial != "/") {
            if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<passwd> ownEntry(std::vector<char> &buffer)
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    buffer.assign(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd *result = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || !result)
        return std::nullopt;
    return entry;
}

} // namespace

std::string executablePath()
{
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        if (buffer.size() >= (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string directoryPart(const std::string &path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> loginName()
{
    // The account the process runs as, which is what owns the settings.
    std::string name;
    std::vector<char> buffer;
    if (auto entry = ownEntry(buffer); entry && entry->pw_name)
        name = entry->pw_name;
    if (name.empty()) {
        char login[1024] = {};
        if (::getlogin_r(login, sizeof login) == 0)
            name = login;
    }
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return std::nullopt;
    return name;
}

std::string perUserDirectory()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        std::string dir = config;
        if (dir.back() != '/')
            dir += '/';
        return dir + "korvana/";
    }
    std::string home;
    if (const char *env = std::getenv("HOME"); env && env[0] == '/') {
        home = env;
    } else {
        std::vector<char> buffer;
        if (auto entry = ownEntry(buffer); entry && entry->pw_dir && entry->pw_dir[0] == '/')
            home = entry->pw_dir;
    }
    if (home.empty())
        return {};
    if (home.back() != '/')
        home += '/';
    return home + ".config/korvana/";
}

std::string programDirectory(const std::string &directory)
{
    if (directory.empty() || isWritableDirectory(directory))
        return directory;
    std::string standIn = perUserDirectory();
    if (standIn.empty() || !makeDirectories(standIn))
        return directory;
    return standIn;
}

std::string programDirectory() { return programDirectory(directoryPart(executablePath())); }

} // namespace korvana
