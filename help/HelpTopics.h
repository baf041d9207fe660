#pragma once

#include <QString>
#include <QStringList>

namespace kvr {

// The help window's topics, in the order of its tree; the first is the root.
const QStringList &HelpTopics();

// The text of a topic (HTML); "Contents" gives the list of the others.
QString HelpTopicText(const QString &topic);

// The cable charts of "Wiring Chart": programmer to a 25-pin PC port with the
// cable summary, and programmer to a 9-pin PC port (appended after it).
QString WiringChart25Pin();
QString WiringChart9Pin();

} // namespace kvr
