#pragma once
// AppRegistry: one section of the settings file, its keys in file order.
// Setting a key moves it to the end of the section, which is how it is then
// written; lookups go through an index so that a file of any length loads in
// linear time.

#include "settings/AppRegistryKey.h"

#include <iosfwd>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvana {

class AppRegistry {
public:
    AppRegistry();
    explicit AppRegistry(std::string name);
    AppRegistry(const AppRegistry &other);
    AppRegistry &operator=(const AppRegistry &other);
    AppRegistry(AppRegistry &&) = default;
    AppRegistry &operator=(AppRegistry &&) = default;
    virtual ~AppRegistry() = default;

    /// Nothing here; called by the constructor.
    virtual void Initialise() {}
    /// Reads key lines up to the next line starting with '[' (left in the
    /// stream) or the end of the stream. True when the stream ended.
    virtual bool ReadBody(std::istream &in);
    /// Writes "[name]" and the keys in order; nothing at all when there are no keys.
    virtual void Write(std::ostream &out) const;
    /// Reads a file holding this one section (its "[name]" line, when present,
    /// renames the section). 0 on success; 1 for an empty name or, logged, an unreadable file.
    virtual int LoadFile(const std::string &fileName);
    /// Replaces a file with this section. 0 on success; 1, logged, on any failure.
    virtual int SaveFile(const std::string &fileName) const;

    /// After the '[' of a section line: reads the rest of the line and answers
    /// the text up to the first ']' (the whole rest when there is none).
    static std::string ReadSectionName(std::istream &in);
    /// Reads a whole settings file into `in`. False for an empty name, or,
    /// logged "error: can't open ", for anything but a
    /// readable regular file of at most 64 MB (a FIFO must not block start-up).
    static bool OpenForLoad(const std::string &fileName, std::istringstream &in);
    /// Replaces a settings file with `text` through a temporary file, so a failure
    /// keeps the old one. False, logged "error: can't save ", on any failure.
    static bool SaveText(const std::string &fileName, std::string_view text);

    const std::string &name() const { return name_; }

    /// Removes any key of that name and appends the key at the end; true when one was replaced.
    bool Set(AppRegistryKey key);
    bool Set(std::string name, std::string value) { return Set(AppRegistryKey(std::move(name), std::move(value))); }
    /// The value of a key; nullptr when there is no such key.
    const std::string *Find(std::string_view key) const;

    /// The keys in file order.
    const std::list<AppRegistryKey> &keys() const { return keys_; }

private:
    void rebuildIndex();

    std::string name_;
    std::list<AppRegistryKey> keys_;
    /// Key name (viewing the name held in keys_) to its place in keys_.
    std::unordered_map<std::string_view, std::list<AppRegistryKey>::iterator> index_;
};

} // namespace korvana
