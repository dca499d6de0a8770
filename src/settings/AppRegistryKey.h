#pragma once
// AppRegistryKey: one line of the settings file, name=value.

#include <iosfwd>
#include <string>

namespace korvana {

class AppRegistryKey {
public:
    AppRegistryKey() = default;
    AppRegistryKey(std::string name, std::string value) : name_(std::move(name)), value_(std::move(value)) {}
    virtual ~AppRegistryKey() = default;

    /// Reads one whole line: the name is the text before the first '=', the
    /// value the text after it (empty when there is no '='). A CR before the
    /// line end belongs to the line end. 0 when a line was read, 1 at the end of the stream.
    virtual int Read(std::istream &in);
    /// Writes name, '=', value and a line end.
    virtual void Write(std::ostream &out) const;

    const std::string &name() const { return name_; }
    const std::string &value() const { return value_; }

private:
    std::string name_;
    std::string value_;
};

} // namespace korvana
