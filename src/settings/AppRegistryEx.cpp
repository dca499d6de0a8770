#include "settings/AppRegistryEx.h"

#include "log/ErrorLog.h"
#include "settings/ProgramPaths.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace korvana {

AppRegistryEx::AppRegistryEx(const AppRegistryEx &other) : sections_(other.sections_), path_(other.path_)
{
    rebuildIndex();
}

AppRegistryEx &AppRegistryEx::operator=(const AppRegistryEx &other)
{
    if (this != &other) {
        sections_ = other.sections_;
        path_ = other.path_;
        rebuildIndex();
    }
    return *this;
}

void AppRegistryEx::rebuildIndex()
{
    index_.clear();
    for (AppRegistry &section : sections_)
        index_.emplace(section.name(), &section);
}

AppRegistry *AppRegistryEx::FindSection(std::string_view name)
{
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : found->second;
}

const AppRegistry *AppRegistryEx::FindSection(std::string_view name) const
{
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : found->second;
}

AppRegistry &AppRegistryEx::AddSection(const std::string &name)
{
    if (AppRegistry *section = FindSection(name))
        return *section;
    AppRegistry &section = sections_.emplace_back(name);
    index_.emplace(section.name(), &section);
    return section;
}

void AppRegistryEx::ReadSections(std::istream &in)
{
    // Keys and sections already here are always read; what the file adds is
    // bounded, so a file of junk cannot take the memory and the start-up time.
    droppedOnLoad_ = 0;
    std::size_t newSections = 0, newKeys = 0, newBytes = 0;
    for (;;) {
        int c = in.get();
        if (c != '[') {
            if (c != std::istream::traits_type::eof())
                in.unget();
            return;
        }
        std::string name = AppRegistry::ReadSectionName(in);
        AppRegistry *section = FindSection(name);
        if (!section && newSections < MaxNewSections && newBytes + name.size() <= MaxNewBytes) {
            ++newSections;
            newBytes += name.size();
            section = &AddSection(name);
        } else if (!section) {
            ++droppedOnLoad_;
        }
        for (;;) {
            const int next = in.peek();
            if (next == std::istream::traits_type::eof())
                return;
            if (next == '[')
                break;
            AppRegistryKey key;
            if (key.Read(in) != 0)
                return;
            const std::size_t size = key.name().size() + key.value().size();
            if (section && section->Find(key.name())) {
                section->Set(std::move(key));
            } else if (section && newKeys < MaxNewKeys && newBytes + size <= MaxNewBytes) {
                ++newKeys;
                newBytes += size;
                section->Set(std::move(key));
            } else {
                ++droppedOnLoad_;
            }
        }
    }
}

void AppRegistryEx::WriteSections(std::ostream &out) const
{
    for (const AppRegistry &section : sections_)
        section.Write(out);
}

int AppRegistryEx::LoadFile(const std::string &fileName)
{
    std::istringstream in;
    if (!AppRegistry::OpenForLoad(fileName, in))
        return 1;
    ReadSections(in);
    if (droppedOnLoad_ > 0)
        ErrorLog::instance().log("error: too many settings in " + fileName + ", " + std::to_string(droppedOnLoad_) +
                                 " dropped");
    return 0;
}

int AppRegistryEx::SaveFile(const std::string &fileName) const
{
    std::ostringstream text;
    WriteSections(text);
    return AppRegistry::SaveText(fileName, text.view()) ? 0 : 1;
}

int AppRegistryEx::Load() { return LoadFile(path_); }

int AppRegistryEx::Save() const { return SaveFile(path_); }

int AppRegistryEx::SetText(std::string_view section, std::string key, std::string value)
{
    AppRegistry *found = FindSection(section);
    if (!found)
        return 1;
    found->Set(std::move(key), std::move(value));
    return 0;
}

int AppRegistryEx::SetInt(std::string_view section, std::string key, int n)
{
    return SetText(section, std::move(key), std::to_string(n));
}

int AppRegistryEx::SetPoint(std::string_view section, std::string key, int x, int y)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d,%d", x, y);
    return SetText(section, std::move(key), text);
}

const std::string *AppRegistryEx::FindValue(std::string_view section, std::string_view key) const
{
    const AppRegistry *found = FindSection(section);
    return found ? found->Find(key) : nullptr;
}

std::optional<std::string> AppRegistryEx::GetText(std::string_view section, std::string_view key) const
{
    const std::string *value = FindValue(section, key);
    if (!value)
        return std::nullopt;
    return *value;
}

int AppRegistryEx::LeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1; // saturate; the digits may run on for megabytes
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

int AppRegistryEx::GetInt(std::string_view section, std::string_view key) const
{
    const std::string *value = FindValue(section, key);
    return value ? LeadingInt(*value) : 0;
}

int AppRegistryEx::GetPointX(std::string_view section, std::string_view key) const
{
    const std::string *value = FindValue(section, key);
    if (!value)
        return 0;
    std::string_view text(*value);
    return LeadingInt(text.substr(0, text.find(',')));
}

int AppRegistryEx::GetPointY(std::string_view section, std::string_view key) const
{
    const std::string *value = FindValue(section, key);
    if (!value)
        return 0;
    std::string_view text(*value);
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return 0;
    text.remove_prefix(comma + 1);
    return LeadingInt(text.substr(0, text.find(',')));
}

std::string AppRegistryEx::FileNameFor(const std::optional<std::string> &userName) const
{
    return Prefix() + (userName ? *userName + ".ini" : std::string("sys_param.ini"));
}

void AppRegistryEx::SetPath(const std::string &programPath)
{
    std::string fileName = FileNameFor(loginName());
    std::string directory = directoryPart(programPath);
    path_ = directory.empty() ? fileName : programDirectory(directory) + fileName;
}

std::string AppRegistryEx::DirectoryOf(const std::string &path)
{
    if (path.empty())
        return {};
    std::size_t last = path.find_last_of("/:\\");
    std::string directory = last == std::string::npos ? path : path.substr(0, last + 1);
    char end = directory.back();
    if (end != '/' && end != ':' && end != '\\')
        directory += '/';
    return directory;
}

} // namespace korvana
