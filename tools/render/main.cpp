// zentaro-render: draws one gradient button or panel, or the sheet of all
// schemes, to a PNG file.
#include "controls/XiButton.h"
#include "controls/XiPanel.h"
#include "tools/render/RenderProperties.h"
#include "tools/render/RenderSheet.h"

#include <QApplication>
#include <QImage>
#include <QStringList>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "usage: zentaro-render button|panel [Property=Value ...] OUT.png\n"
    "       zentaro-render --sheet OUT.png\n";

int Fail(const QString& message)
{
    std::fprintf(stderr, "zentaro-render: %s\n", qPrintable(message));
    return 1;
}

int Save(const QImage& image, const QString& path)
{
    if (image.isNull())
        return Fail(QStringLiteral("nothing to draw: the control has no pixels"));
    if (!image.save(path, "PNG"))
        return Fail(QStringLiteral("cannot write '%1'").arg(path));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    const QString kind = args.first();
    const QString out = args.last();
    const QStringList assignments = args.mid(1, args.size() - 2);

    try {
        if (kind == QLatin1String("--sheet")) {
            if (!assignments.isEmpty())
                return Fail(QStringLiteral("--sheet takes no properties"));
            return Save(zentaro::RenderSheet(), out);
        }
        if (kind == QLatin1String("button")) {
            zentaro::TXiButton button;
            for (const QString& a : assignments)
                zentaro::ApplyButtonProperty(button, a);
            return Save(button.RenderImage(), out);
        }
        if (kind == QLatin1String("panel")) {
            zentaro::TXiPanel panel;
            for (const QString& a : assignments)
                zentaro::ApplyPanelProperty(panel, a);
            return Save(panel.RenderImage(), out);
        }
    } catch (const zentaro::RenderError& e) {
        return Fail(QString::fromStdString(e.what()));
    }
    std::fputs(kUsage, stderr);
    return 1;
}
