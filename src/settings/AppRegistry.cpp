#include "settings/AppRegistry.h"

#include "log/BoundedFileReader.h"
#include "log/ErrorLog.h"
#include "log/SafeFileWriter.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvana {

AppRegistry::AppRegistry() { Initialise(); }

AppRegistry::AppRegistry(std::string name) : name_(std::move(name)) { Initialise(); }

AppRegistry::AppRegistry(const AppRegistry &other) : name_(other.name_), keys_(other.keys_) { rebuildIndex(); }

AppRegistry &AppRegistry::operator=(const AppRegistry &other)
{
    if (this != &other) {
        name_ = other.name_;
        keys_ = other.keys_;
        rebuildIndex();
    }
    return *this;
}

void AppRegistry::rebuildIndex()
{
    index_.clear();
    for (auto it = keys_.begin(); it != keys_.end(); ++it)
        index_[it->name()] = it;
}

bool AppRegistry::Set(AppRegistryKey key)
{
    bool replaced = false;
    auto found = index_.find(std::string_view(key.name()));
    if (found != index_.end()) {
        auto old = found->second;
        index_.erase(found);
        keys_.erase(old);
        replaced = true;
    }
    keys_.push_back(std::move(key));
    auto last = std::prev(keys_.end());
    index_.emplace(std::string_view(last->name()), last);
    return replaced;
}

const std::string *AppRegistry::Find(std::string_view key) const
{
    auto found = index_.find(key);
    return found == index_.end() ? nullptr : &found->second->value();
}

std::string AppRegistry::ReadSectionName(std::istream &in)
{
    std::string header;
    std::getline(in, header);
    std::size_t close = header.find(']');
    if (close != std::string::npos)
        header.resize(close);
    else if (!header.empty() && header.back() == '\r')
        header.pop_back(); // a CR LF line end
    return header;
}

bool AppRegistry::ReadBody(std::istream &in)
{
    for (;;) {
        int c = in.peek();
        if (c == std::istream::traits_type::eof())
            return true;
        if (c == '[')
            return false;
        AppRegistryKey key;
        if (key.Read(in) != 0)
            return true;
        Set(std::move(key));
    }
}

void AppRegistry::Write(std::ostream &out) const
{
    if (keys_.empty())
        return;
    out << '[' << name_ << "]\n";
    for (const AppRegistryKey &key : keys_)
        key.Write(out);
}

bool AppRegistry::OpenForLoad(const std::string &fileName, std::istringstream &in)
{
    if (fileName.empty())
        return false;
    BoundedFileReader reader;
    std::string bytes;
    if (!reader.read(fileName, BoundedFileReader::SettingsLimit, bytes)) {
        ErrorLog::instance().log("error: can't open " + fileName);
        return false;
    }
    in.str(std::move(bytes));
    return true;
}

bool AppRegistry::SaveText(const std::string &fileName, std::string_view text)
{
    SafeFileWriter out(fileName);
    if (!out.open() || !out.write(text) || !out.commit()) {
        ErrorLog::instance().log("error: can't save " + fileName);
        return false;
    }
    return true;
}

int AppRegistry::LoadFile(const std::string &fileName)
{
    std::istringstream in;
    if (!OpenForLoad(fileName, in))
        return 1;
    if (in.peek() == '[') {
        in.get();
        name_ = ReadSectionName(in);
    }
    ReadBody(in);
    return 0;
}

int AppRegistry::SaveFile(const std::string &fileName) const
{
    std::ostringstream text;
    Write(text);
    return SaveText(fileName, text.view()) ? 0 : 1;
}

} // namespace korvana
