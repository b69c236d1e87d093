#pragma once

#include "Measure.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace bench {

/**
 * An application that notes when the first frame showing a chosen widget has been painted:
 * the moment the event that painted it (an expose or an update request on its window) has
 * been handled in full, so the frame has gone to the window's backing store.
 */
class FrameWatch : public QApplication
{
public:
    using QApplication::QApplication;

    /// Watches for the first paint of @p widget (or of anything inside it) from now on; the
    /// widget may be found later, when it exists, through @p find.
    void watch(std::function<QWidget *()> find)
    {
        m_find = std::move(find);
        m_painted = false;
        m_frameNs = 0;
    }
    /// When the frame was done, in nowNs() time; 0 until then.
    qint64 frameNs() const { return m_frameNs; }

    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool paint = event->type() == QEvent::Paint;
        if (paint && m_find && !m_frameNs && receiver->isWidgetType()) {
            QWidget *target = m_find();
            auto *painted = static_cast<QWidget *>(receiver);
            if (target && (painted == target || target->isAncestorOf(painted)))
                m_painted = true;
        }
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        if (m_depth == 0 && m_painted && !m_frameNs)
            m_frameNs = nowNs();
        return handled;
    }

private:
    std::function<QWidget *()> m_find;
    bool m_painted = false;
    qint64 m_frameNs = 0;
    int m_depth = 0;
};

} // namespace bench
