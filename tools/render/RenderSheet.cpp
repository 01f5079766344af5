#include "tools/render/RenderSheet.h"

#include "controls/ColorSchemes.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QPainter>

#include <array>

namespace zentaro {

namespace {

constexpr int kMargin = 12;
constexpr int kLabelWidth = 96;
constexpr int kHeaderHeight = 22;
constexpr QSize kCell(88, 31);
constexpr QSize kButton(75, 25);
constexpr int kSchemeCount = 13;
constexpr QSize kPanel(109, 135);
constexpr int kPanelGap = 16;
const QColor kBackground(0xF4, 0xF4, 0xF4);

struct Column {
    const char* title;
    TDrawState state;
    bool enabled;
    bool focused;
};

constexpr std::array<Column, 5> kColumns = {{
    {"normal", TDrawState::dsNormal, true, false},
    {"over", TDrawState::dsOver, true, false},
    {"down", TDrawState::dsDown, true, false},
    {"disabled", TDrawState::dsNormal, false, false},
    {"focused", TDrawState::dsNormal, true, true},
}};

QImage Button(TXiButton::TColorScheme scheme, const Column& column)
{
    TXiButton button;
    button.resize(kButton);
    button.SetCaption(QStringLiteral("&Convert"));
    button.SetColorScheme(scheme);
    button.setEnabled(column.enabled);
    button.ShowDrawState(column.state, column.focused);
    return button.RenderImage();
}

QImage Panel(TFillDirection direction, const QString& caption)
{
    TXiPanel panel;
    panel.resize(kPanel);
    panel.SetFillDirection(direction);
    panel.SetCaption(caption);
    return panel.RenderImage();
}

QString Text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QImage RenderSheet()
{
    const int gridWidth = kLabelWidth + static_cast<int>(kColumns.size()) * kCell.width();
    const int panelsWidth = 3 * kPanel.width() + 2 * kPanelGap;
    const int width = 2 * kMargin + std::max(gridWidth, panelsWidth);
    const int gridTop = kMargin + kHeaderHeight;
    const int panelsTop = gridTop + kSchemeCount * kCell.height() + kMargin + kHeaderHeight;
    const int height = panelsTop + kPanel.height() + kMargin;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(kBackground);
    QPainter painter(&sheet);
    painter.setPen(Qt::black);

    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        const int x = kMargin + kLabelWidth + static_cast<int>(c) * kCell.width();
        painter.drawText(QRect(x, kMargin, kButton.width(), kHeaderHeight), Qt::AlignCenter,
                         QString::fromLatin1(kColumns[c].title));
    }
    for (int s = 0; s < kSchemeCount; ++s) {
        const auto scheme = static_cast<TXiButton::TColorScheme>(s);
        const int y = gridTop + s * kCell.height();
        painter.drawText(QRect(kMargin, y, kLabelWidth, kButton.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         Text(SchemeName(scheme)));
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            const int x = kMargin + kLabelWidth + static_cast<int>(c) * kCell.width();
            painter.drawImage(x, y, Button(scheme, kColumns[c]));
        }
    }

    const std::array<std::pair<TFillDirection, const char*>, 3> directions = {{
        {TFillDirection::fdHorizontal, "fdHorizontal"},
        {TFillDirection::fdVertical, "fdVertical"},
        {TFillDirection::fdDiagonal, "fdDiagonal"},
    }};
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const int x = kMargin + static_cast<int>(i) * (kPanel.width() + kPanelGap);
        const QString name = QString::fromLatin1(directions[i].second);
        painter.drawText(QRect(x, panelsTop - kHeaderHeight, kPanel.width(), kHeaderHeight), Qt::AlignCenter,
                         QStringLiteral("csDesert"));
        painter.drawImage(x, panelsTop, Panel(directions[i].first, name));
    }
    return sheet;
}

} // namespace zentaro
