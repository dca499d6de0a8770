#pragma once
// AppRegistryEx: a whole settings file, its sections in order. Sections and
// keys are found by exact name; values are texts, integers are written in
// decimal and points as "x,y". Sections and keys the program does not know
// are kept, so a load and save never loses them.

#include "settings/AppRegistry.h"

#include <iosfwd>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvana {

class AppRegistryEx {
public:
    AppRegistryEx() = default;
    AppRegistryEx(const AppRegistryEx &other);
    AppRegistryEx &operator=(const AppRegistryEx &other);
    AppRegistryEx(AppRegistryEx &&) = default;
    AppRegistryEx &operator=(AppRegistryEx &&) = default;
    virtual ~AppRegistryEx() = default;

    /// Start of the settings file name, before the user name.
    virtual std::string Prefix() const = 0;
    /// Nothing here; subclasses register their default sections.
    virtual void Initialise() {}
    /// Most sections, keys and bytes of names and values one read adds; keys
    /// and sections that exist already are always read.
    static constexpr std::size_t MaxNewSections = 100000;
    static constexpr std::size_t MaxNewKeys = 100000;
    static constexpr std::size_t MaxNewBytes = 16u << 20;

    /// Reads sections from a stream. A stream not starting with '[' gives nothing;
    /// keys read replace keys of the same name; new sections are appended.
    /// New keys past the limits above are dropped and counted in droppedOnLoad().
    virtual void ReadSections(std::istream &in);
    /// How many keys the last ReadSections dropped.
    std::size_t droppedOnLoad() const { return droppedOnLoad_; }
    /// Writes every section that has keys, in order.
    virtual void WriteSections(std::ostream &out) const;
    /// 0 on success; 1 for an empty name, or (logged "error: can't open ") an
    /// unreadable file. Dropped keys are logged in one line.
    virtual int LoadFile(const std::string &fileName);
    /// Replaces the file through a temporary file, so a failure keeps the old one.
    /// 0 on success; 1, logged "error: can't save ", on any failure.
    virtual int SaveFile(const std::string &fileName) const;
    /// LoadFile of the stored path.
    virtual int Load();
    /// SaveFile of the stored path.
    virtual int Save() const;

    /// 0, or 1 when the section does not exist (nothing is created then).
    int SetText(std::string_view section, std::string key, std::string value);
    int SetInt(std::string_view section, std::string key, int n);
    int SetPoint(std::string_view section, std::string key, int x, int y);
    /// The value; none when the section or key does not exist.
    std::optional<std::string> GetText(std::string_view section, std::string_view key) const;
    /// The decimal integer at the start of the value; 0 when there is none or no such key.
    int GetInt(std::string_view section, std::string_view key) const;
    /// The integer before the first comma; 0 when empty or no such key.
    int GetPointX(std::string_view section, std::string_view key) const;
    /// The integer after the first comma up to the next; 0 when empty, missing or no such key.
    int GetPointY(std::string_view section, std::string_view key) const;

    /// Stores the settings file path for the program at programPath: the
    /// file FileNameFor(loginName()) in programDirectory() of the program's
    /// directory; the bare file name when programPath has no directory.
    void SetPath(const std::string &programPath);
    /// Stores a settings file path as it is.
    void setFilePath(std::string path) { path_ = std::move(path); }
    const std::string &Path() const { return path_; }
    /// Prefix + user name + ".ini"; Prefix + "sys_param.ini" without a user name.
    std::string FileNameFor(const std::optional<std::string> &userName) const;

    /// The text up to and including the last '/', ':' or '\'; "/" is appended
    /// when it does not end in one of them (a path without any is kept whole);
    /// empty for an empty path.
    static std::string DirectoryOf(const std::string &path);
    /// The decimal integer at the start of a text, as GetInt reads it: leading
    /// blanks and a sign allowed, 0 when there are no digits, clamped to int.
    static int LeadingInt(std::string_view text);

    /// The section of that name; nullptr when there is none.
    AppRegistry *FindSection(std::string_view name);
    const AppRegistry *FindSection(std::string_view name) const;
    /// The section of that name, appended empty when missing.
    AppRegistry &AddSection(const std::string &name);
    /// The sections in order.
    const std::list<AppRegistry> &sections() const { return sections_; }

private:
    std::size_t droppedOnLoad_ = 0;
    /// Lets the index be searched with a string_view.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    void rebuildIndex();
    /// The value of a key; nullptr when the section or key does not exist.
    const std::string *FindValue(std::string_view section, std::string_view key) const;

    std::list<AppRegistry> sections_;
    /// Section name to the section.
    std::unordered_map<std::string, AppRegistry *, NameHash, std::equal_to<>> index_;
    std::string path_;
};

} // namespace korvana
