#pragma once

#include <QString>

#include <filesystem>

namespace zentaro {

struct ProgramLayout;

// The window's own choices, kept across starts with Qt's settings in one
// file; without a file they last for the run only.
class Preferences {
public:
    explicit Preferences(QString file = QString());

    // A portable program keeps them beside itself, an installed one in the
    // user's configuration folder (configFolder).
    static QString FileFor(const ProgramLayout& layout, const std::filesystem::path& configFolder);

    const QString& File() const { return file_; }
    bool UpdateRatesAutomatically() const;
    void SetUpdateRatesAutomatically(bool on);

private:
    QString file_;
    bool updateRatesAutomatically_ = true;
};

} // namespace zentaro
