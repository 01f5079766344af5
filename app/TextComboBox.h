#pragma once

#include <QComboBox>

#include <string>
#include <vector>

namespace zentaro {

// An editable drop-down list over byte texts. The rate table's texts need not
// be valid UTF-8, so the list remembers the exact bytes behind the text set
// from code or picked from the entries, and gives them back for as long as the
// shown text stays unchanged; a text the user typed is read as UTF-8.
// Setting the text or the entries from code raises no change signal of the
// line edit (only textChanged, which nobody handles).
class TextComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TextComboBox(QWidget* parent = nullptr);

    // Removes every entry and empties the text.
    void ClearAll();
    void AddEntry(const std::string& text);
    void InsertEntry(std::size_t index, const std::string& text);
    // Replaces every entry, then sets the text.
    void SetEntries(const std::vector<std::string>& entries, const std::string& text);
    const std::vector<std::string>& Entries() const { return entries_; }

    void SetText(const std::string& text);
    std::string Text() const;

signals:
    // Enter in the edit part; the list itself does nothing on it.
    void returnPressed();
    // The list lost the focus to another control of the window (not to its
    // own drop-down or to another window).
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Remember(int index);

    std::vector<std::string> entries_;
    QString shown_;
    std::string bytes_;
};

} // namespace zentaro
