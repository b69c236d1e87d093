#pragma once

#include <QStringList>

/// Collects the debug log while it lives; restores the default sink afterwards.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};
