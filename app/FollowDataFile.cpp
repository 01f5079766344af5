#include "app/FollowDataFile.h"
#include "app/TextComboBox.h"

#include <QApplication>
#include <QPointer>

#include <algorithm>

namespace zentaro {

std::string FollowedUploadTime(std::string_view current, const std::vector<std::string>& before,
                               const std::vector<std::string>& after, std::string_view newest)
{
    const bool onNewest = !before.empty() && current == before.back();
    if (onNewest || std::find(after.begin(), after.end(), current) == after.end())
        return std::string(newest);
    return std::string(current);
}

void FollowDataFile(TForm1& form)
{
    if (form.Table().HoldsFileContent(form.DataFilePath()))
        return;
    // A file removed under the window is no news to report at every change
    // of its folder; the next save brings it back.
    std::error_code error;
    if (!std::filesystem::exists(form.DataFilePath(), error))
        return;
    const std::string current = form.ComboBox3->Text();
    const std::vector<std::string> before = form.ComboBox3->Entries();
    const std::string from = form.ComboBox1->Text();
    const std::string to = form.ComboBox2->Text();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    if (!form.Guard([&] { form.FormCreate(&form); }))
        return;
    const std::string followed =
        FollowedUploadTime(current, before, form.ComboBox3->Entries(), form.ComboBox3->Text());
    // Choosing the upload time again keeps the list texts where it has them.
    form.ComboBox3->SetText(followed);
    form.ComboBox1->SetText(from);
    form.ComboBox2->SetText(to);
    form.Guard([&] { form.ComboBox3Click(form.ComboBox3); });
    if (focus && QApplication::focusWidget() != focus)
        focus->setFocus();
}

} // namespace zentaro
