#pragma once

#include "app/TextComboBox.h"
#include "app/Unit1.h"
#include "store/DataLocation.h"
#include "store/RateTable.h"
#include "tests/common/TempDir.h"
#include "tests/common/TableRows.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zentaro::test {

// The questions of the two deletions; each parts its lines by a single
// carriage return.
inline const QString kRemoveQuestion =
    QStringLiteral("Are You Sure Want To Remove Current Time ?\rWarning this cannot be Undone.");
inline const QString kClearQuestion =
    QStringLiteral("Are You Sure Want To Clear All Currency Database ?\rWarning this cannot be Undone.");

// One box the window showed, with the amount field's text at that moment.
struct Box {
    enum Kind { Message, Error, Question } kind;
    QString text;
    QString amount;
    bool operator==(const Box&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Box& box)
{
    static const char* const kKinds[] = {"message", "error", "question"};
    return out << kKinds[box.kind] << " \"" << box.text.toStdString() << "\" (amount \""
               << box.amount.toStdString() << "\")";
}

// Counts the paint events of the objects it is installed on.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class RecordingDialogs : public TForm1::Dialogs {
public:
    RecordingDialogs(std::vector<Box>& boxes, std::function<QString()> amount)
        : boxes_(boxes), amount_(std::move(amount))
    {
    }
    void ShowMessage(const QString& text) override { boxes_.push_back({Box::Message, text, amount_()}); }
    void ShowError(const QString& text) override { boxes_.push_back({Box::Error, text, amount_()}); }
    bool Confirm(const QString& text) override
    {
        boxes_.push_back({Box::Question, text, amount_()});
        return confirm;
    }
    std::optional<QString> OpenFile(const QString& nameFilter) override
    {
        filters.push_back(nameFilter);
        return openFile;
    }

    bool confirm = false;
    std::optional<QString> openFile; // the open-file dialog's answer
    std::vector<QString> filters;    // the filter of every open-file dialog shown

private:
    std::vector<Box>& boxes_;
    std::function<QString()> amount_;
};

// A window over a data file in a fresh program folder.
class WindowFixture {
protected:
    void WriteTable(const std::vector<Row>& rows)
    {
        RateTable table('.', ByteCollation());
        for (const auto& row : rows)
            AddRow(table, row.tgl, row.cur, row.nilai);
        table.SaveToFile(folder / kDataFileName);
    }

    void Open(char separator = '.')
    {
        TForm1::Settings settings;
        settings.programFolder = folder.Path();
        settings.shareFolder = shareFolder;
        settings.decimalSeparator = separator;
        OpenWith(std::move(settings));
    }

    // A window with the given folders; the rest as Open sets it.
    void OpenWith(TForm1::Settings settings)
    {
        settings.updateUrl = updateUrl;
        settings.fetchLimits.connectTimeout = std::chrono::milliseconds(1500);
        settings.fetchLimits.deadline = std::chrono::milliseconds(1500);
        settings.lockWait = lockWait;
        settings.cursorPos = [this] { return cursor; };
        settings.openDocument = [this](const QUrl& document) { openedDocuments.push_back(document); };
        settings.quit = [this] { ++quitRequests; };
        if (startSystemMove)
            settings.startSystemMove = startSystemMove;
        if (adjustSettings)
            adjustSettings(settings);
        auto recording = std::make_unique<RecordingDialogs>(boxes, [this] {
            return form ? form->Edit8->text() : QString();
        });
        dialogs = recording.get();
        form = std::make_unique<TForm1>(settings, std::move(recording));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void Type(const QString& keys) { QTest::keyClicks(form->Edit8, keys); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form->Edit8, key, modifiers);
    }

    // Picks an entry the way the user does: open the list, move to it, Enter.
    void PickIndex(TextComboBox* list, int index)
    {
        list->showPopup();
        list->view()->setCurrentIndex(list->model()->index(index, 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        ASSERT_EQ(list->currentIndex(), index);
    }
    void Pick(TextComboBox* list, const QString& entry)
    {
        const int index = list->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << entry.toStdString();
        PickIndex(list, index);
        ASSERT_EQ(list->currentText(), entry);
    }
    // Replaces the list's text by typing, one key at a time.
    void RetypeList(TextComboBox* list, const QString& keys)
    {
        list->lineEdit()->selectAll();
        QTest::keyClicks(list->lineEdit(), keys);
    }

    std::vector<std::string> Entries(const TextComboBox* list) const { return list->Entries(); }
    QString Result() const { return form->Edit9->text(); }
    QString Amount() const { return form->Edit8->text(); }

    TempDir folder;
    std::string updateUrl = "http://127.0.0.1:1/update/Last Update.txt";
    std::chrono::milliseconds lockWait{10'000};
    std::vector<Box> boxes;
    RecordingDialogs* dialogs = nullptr; // owned by the window
    std::unique_ptr<TForm1> form;
    // Stand-ins for the pointer's screen position, the desktop's document
    // viewer and the application's end.
    QPoint cursor;
    std::vector<QUrl> openedDocuments;
    int quitRequests = 0;
    // An installed program's share folder; empty: portable.
    std::filesystem::path shareFolder;
    // Stands in for the window system's move when set.
    std::function<bool(QWindow*)> startSystemMove;
    // Changes the window's settings before it opens, when set.
    std::function<void(TForm1::Settings&)> adjustSettings;
};

} // namespace zentaro::test
