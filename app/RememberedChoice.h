#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace zentaro {

// What the window keeps across starts: the two currencies and the amount.
struct Choice {
    std::string from;
    std::string to;
    std::string amount;
    bool operator==(const Choice&) const = default;
};

// The choice in a settings file (Qt's settings in INI form); an empty path
// keeps nothing, so windows of tests stay apart from the user's.
class RememberedChoice {
public:
    explicit RememberedChoice(QString settingsFile) : file_(std::move(settingsFile)) {}

    bool Keeps() const { return !file_.isEmpty(); }
    // nullopt before the first save.
    std::optional<Choice> Load() const;
    void Save(const Choice& choice) const;

private:
    QString file_;
};

// The currencies of a first start: EUR from, the locale's currency to, each
// only where the offered codes hold it; nullopt keeps the list as it is.
struct FirstPair {
    std::optional<std::string> from;
    std::optional<std::string> to;
};
FirstPair FirstStartPair(const std::vector<std::string>& offered, const std::string& localeCurrency);

} // namespace zentaro
