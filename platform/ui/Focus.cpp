#include "platform/ui/Focus.h"

#include <QWidget>

#include <algorithm>

namespace pelbrook {

void chainFocusInReadingOrder(QWidget *container)
{
    struct Control {
        QWidget *widget;
        QRect frame;
    };
    QList<Control> controls;
    for (QWidget *widget : container->findChildren<QWidget *>()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || widget->isWindow())
            continue;
        // A control's own parts (a list's viewport, say) follow it, not the page.
        bool part = false;
        for (QWidget *p = widget->parentWidget(); p && p != container; p = p->parentWidget())
            part = part || (p->focusPolicy() & Qt::TabFocus);
        if (!part)
            controls.append({widget, QRect(widget->mapTo(container, QPoint(0, 0)), widget->size())});
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control &a, const Control &b) { return a.frame.top() < b.frame.top(); });
    // A control whose middle lies beside the first control of a row joins that row.
    for (qsizetype rowStart = 0; rowStart < controls.size();) {
        const QRect first = controls.at(rowStart).frame;
        qsizetype rowEnd = rowStart + 1;
        while (rowEnd < controls.size() && controls.at(rowEnd).frame.center().y() <= first.bottom())
            ++rowEnd;
        std::stable_sort(controls.begin() + rowStart, controls.begin() + rowEnd,
                         [](const Control &a, const Control &b) { return a.frame.left() < b.frame.left(); });
        rowStart = rowEnd;
    }
    if (controls.isEmpty())
        return;
    // Qt leaves a pair alone when the second already follows the first, reading the chain as a
    // ring; in a container that is still a window of its own, the last control then seems to
    // precede the first, and the chain would start wherever it happened to. Anchored at the
    // container, it starts with the first control, also once the container joins another window.
    const Qt::FocusPolicy policy = container->focusPolicy();
    container->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(container, controls.first().widget);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls.at(i - 1).widget, controls.at(i).widget);
    container->setFocusPolicy(policy);
}

} // namespace pelbrook
