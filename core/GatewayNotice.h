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

    /// Shows @p kind's text over the whole of the parent, above its other children.
    void showNotice(Kind kind);
    /// The text shown, for the kind last shown.
    QString text() const;

    /// The texts, in the language the checkout was made in.
    static QString textFor(Kind kind);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cover();

    QLabel *m_text = nullptr;
};

} // namespace pelbrook
