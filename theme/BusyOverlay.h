#pragma once

#include "platform/ui/ActivityIndicatorView.h"
#include "theme/Color.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace pelbrook {

/**
 * The busy overlay a payment screen shows while the gateway's first page loads: the screen
 * dimmed, a rounded box in the theme colour with a spinner, and every mouse click and key
 * press on the screen beneath swallowed. One per screen, reused for every showing.
 *
 * While shown it follows the root view: when the root view is resized or moved (the tab bar
 * hides as a payment starts, the window is resized) the frame and the box's centre are taken
 * again from the root view, as when it was shown.
 */
class BusyOverlay : public QObject
{
    Q_OBJECT
public:
    explicit BusyOverlay(QObject *parent = nullptr);
    ~BusyOverlay() override;

    /// Shows the overlay over @p rootView, with the box in @p boxColour.
    void waitLoading(QWidget *rootView, const Color &boxColour);
    /// Hides it, and the message with it; harmless when it is not shown.
    void hideWaitLoading();
    /// Shows @p message under the box while the overlay is shown (`busyMessage`); empty for
    /// none. The next showing starts without one.
    void setMessage(const QString &message);
    /// The message shown, if any.
    QString message() const;
    bool isShown() const;

    /// The overlay's views; null until it is first shown, and again if they went with a root
    /// view (the next showing makes them anew).
    QWidget *containerView() const { return m_containerView; }
    QWidget *progressView() const { return m_progressView; }
    ActivityIndicatorView *activityIndicator() const { return m_activityIndicator; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeViews();
    void applyGeometry(QWidget *rootView);
    void placeMessage();

    QPointer<QWidget> m_containerView;
    QPointer<QWidget> m_progressView;
    QPointer<ActivityIndicatorView> m_activityIndicator;
    QPointer<QLabel> m_message;
    QPointer<QWidget> m_rootView;
};

} // namespace pelbrook
