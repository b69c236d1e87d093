#include "platform/ui/Palette.h"

#include <QApplication>
#include <QWidget>

namespace pelbrook {

QPalette screenPalette()
{
    // Made once: every screen and bar of every checkout asks for it, and a palette is shared.
    static const QPalette shared = [] {
        const QColor black(Qt::black);
        const QColor white(Qt::white);
        QPalette palette(black, QColor(0xf0, 0xf0, 0xf0), white, QColor(0xa0, 0xa0, 0xa0), QColor(0xc0, 0xc0, 0xc0),
                         black, white, white, white);
        // The roles the constructor leaves to the application are set too, so none is inherited.
        palette.setColor(QPalette::ButtonText, black);
        palette.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
        palette.setColor(QPalette::Highlight, QColor(0, 122, 255));
        palette.setColor(QPalette::HighlightedText, white);
        palette.setColor(QPalette::Link, QColor(0, 122, 255));
        palette.setColor(QPalette::LinkVisited, QColor(0x55, 0x1a, 0x8b));
        palette.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf7, 0xf7));
        palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xdc));
        palette.setColor(QPalette::ToolTipText, black);
        palette.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8e, 0x8e, 0x93));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8e, 0x8e, 0x93));
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8e, 0x8e, 0x93));
        return palette;
    }();
    return shared;
}

bool hostUsesStyleSheet()
{
    auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    return application && !application->styleSheet().isEmpty();
}

namespace {

// The colour setTextColour() last gave a widget.
const char *const Given = "pelbrookTextColour";

} // namespace

void reapplyTextColours(QWidget *root)
{
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (const QVariant colour = widget->property(Given); colour.isValid())
            setTextColour(widget, colour.value<QColor>());
    }
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    if (hostUsesStyleSheet()) {
        const QString sheet = QStringLiteral("color: %1; background: transparent;").arg(colour.name());
        if (widget->styleSheet() != sheet)
            widget->setStyleSheet(sheet);
        widget->setProperty(Given, colour);
        return;
    }
    // No sheet of its own left from a host's style sheet that has gone.
    if (!widget->styleSheet().isEmpty())
        widget->setStyleSheet(QString());
    // Given this colour already (a screen sets its colours on every showing), it keeps it:
    // setting a palette again resolves it anew for the widget and its children.
    QPalette palette = widget->palette();
    if (widget->testAttribute(Qt::WA_SetPalette) && widget->property(Given).value<QColor>() == colour
        && palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
    widget->setProperty(Given, colour);
}

} // namespace pelbrook
