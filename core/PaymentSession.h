#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace pelbrook {

/**
 * Where one screen's payment stands with the gateway, from the form built at a pay press to the
 * hand-back, and so what the host can be told if the checkout closes first. It knows nothing of
 * widgets: the screen tells it what the browser view does, and asks it what that means.
 */
class PaymentSession
{
public:
    enum class Phase {
        /// No form of the screen is out: none was built, or the last one never left.
        Inputs,
        /// The form's own page is loading; nothing has gone to the gateway yet.
        FormLoading,
        /// The form is on its way to the gateway, which may take the payment whatever follows.
        FormSent,
        /// The gateway has answered the form: its page has gone on, by a redirect or otherwise.
        GatewayAnswered,
        /// The gateway handed back; the payment is over, and a further hand-back is not heard.
        HandedBack,
    };

    Phase phase() const { return m_phase; }
    /// Whether the current form has left for the gateway, and no hand-back has come.
    bool formSent() const { return m_phase == Phase::FormSent || m_phase == Phase::GatewayAnswered; }
    bool handedBack() const { return m_phase == Phase::HandedBack; }
    /// Whether a form of the screen went to the gateway and no result came back: closed now,
    /// the payment's outcome is unknown to the host. A valid result makes it known.
    bool outcomeUnknown() const;

    /// A new form is built, to be posted to @p target. What an earlier form left unknown stays
    /// unknown until a valid result comes back: then the host has the payment's outcome.
    void startForm(const QUrl &target);
    /// The page starts a navigation: any after the form's own means the gateway has answered.
    void navigationStarting();
    /// The page leaves for the gateway's side (an https address): the form is on its way.
    void leavingForGateway();
    /// The first hand-back arrived, with a valid @p result or none; a later one is ignored.
    void takeHandBack(const std::optional<QString> &result);
    /// The last valid result a hand-back carried, kept through a later payment without one.
    const std::optional<QString> &result() const { return m_result; }
    /// The gateway was not reached: the current form never left.
    void formNeverLeft();
    /// Whether a failed load of @p url means the gateway was never reached: the form had not
    /// left, or its own connection failed before a byte of it was sent (@p beforeSending).
    bool failureLeftGatewayUnreached(const QUrl &url, bool beforeSending) const;

private:
    Phase m_phase = Phase::Inputs;
    /// An earlier form went to the gateway with no result back.
    bool m_earlierFormUnknown = false;
    /// Whether the outcome was unknown when the hand-back came, for one without a valid result.
    bool m_unknownAtHandBack = false;
    QUrl m_formTarget;
    std::optional<QString> m_result;
};

} // namespace pelbrook
