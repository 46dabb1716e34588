#include "shell/unitAppStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

namespace {

// A style icon that asks its style for the real icon when first drawn or measured.
class TDeferredStyleIcon final : public QIconEngine {
public:
    TDeferredStyleIcon(QStyle* style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new TDeferredStyleIcon(m_style, m_which); }
    QString key() const override { return QStringLiteral("TDeferredStyleIcon"); }

private:
    const QIcon& icon()
    {
        if (m_icon.isNull() && m_style) m_icon = m_style->standardIcon(m_which);
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

class TAppStyle final : public QProxyStyle {
public:
    TAppStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        // Made with every menu bar and tool bar, shown only when they overflow.
        if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new TDeferredStyleIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

void InstallAppStyle() { QApplication::setStyle(new TAppStyle); }
