#include "LogCapture.h"

#include <pelbrook/DebugLog.h>

LogCapture::LogCapture()
{
    pelbrook::setDebugLogSink([this](const QString &line) { m_lines.append(line); });
}

LogCapture::~LogCapture()
{
    pelbrook::setDebugLogSink({});
}
