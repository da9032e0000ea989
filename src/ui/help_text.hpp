// The help text that the help command shows over the window.
#pragma once

#include <QStringList>

namespace oradel {

QStringList HelpTextLines();

}  // namespace oradel
