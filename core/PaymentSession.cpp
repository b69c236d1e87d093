#include "core/PaymentSession.h"

namespace pelbrook {

bool PaymentSession::outcomeUnknown() const
{
    switch (m_phase) {
    case Phase::FormSent:
    case Phase::GatewayAnswered:
        return true;
    case Phase::HandedBack:
        return m_unknownAtHandBack;
    case Phase::Inputs:
    case Phase::FormLoading:
        break;
    }
    return m_earlierFormUnknown;
}

void PaymentSession::startForm(const QUrl &target)
{
    m_earlierFormUnknown = outcomeUnknown();
    m_phase = Phase::FormLoading;
    m_formTarget = target;
}

void PaymentSession::navigationStarting()
{
    if (m_phase == Phase::FormSent)
        m_phase = Phase::GatewayAnswered;
}

void PaymentSession::leavingForGateway()
{
    // Also from a page left under a notice: whatever it sends now may reach the gateway.
    if (m_phase == Phase::Inputs || m_phase == Phase::FormLoading)
        m_phase = Phase::FormSent;
}

void PaymentSession::takeHandBack(const std::optional<QString> &result)
{
    if (m_phase == Phase::HandedBack)
        return;
    if (result)
        m_result = result;
    m_unknownAtHandBack = !result && outcomeUnknown();
    m_phase = Phase::HandedBack;
}

void PaymentSession::formNeverLeft()
{
    if (m_phase != Phase::HandedBack)
        m_phase = Phase::Inputs;
}

bool PaymentSession::failureLeftGatewayUnreached(const QUrl &url, bool beforeSending) const
{
    if (!formSent())
        return true;
    return m_phase == Phase::FormSent && beforeSending
        && url.adjusted(QUrl::RemoveFragment) == m_formTarget.adjusted(QUrl::RemoveFragment);
}

} // namespace pelbrook
