#pragma once

#include <QWidget>

class QLabel;

namespace pelbrook {

/**
 * What the buyer reads in place of the gateway's page when that page could not be shown: it
 * could not be reached, or the connection to it was lost, or its renderer ended. In the
 * checkout's look, over the whole content area; the navigation bar and its close button stay
 * usable. Named `gatewayNotice`, its text `gatewayNoticeText`.
 */
class GatewayNotice : public QWidget
{
    Q_OBJECT
public:
    enum class Kind {
        /// Nothing reached the gateway: no payment was made.
        Unreachable,
        /// The gateway had the form: the payment may still go through.
        ConnectionLost,
    };

    explicit GatewayNotice(QWidget *parent);

    /// Shows @p kind's text above the parent's other children; the screen gives it the
    /// parent's whole area, as it does the browser view.
    void showNotice(Kind kind);

    /// The texts, in the language the checkout was made in.
    static QString textFor(Kind kind);

private:
    QLabel *m_text = nullptr;
};

} // namespace pelbrook
