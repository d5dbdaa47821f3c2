#pragma once

#include <QStringList>

// Replaces every folder in the list by the files below it, depth first in
// case-insensitive name order; plain paths pass through unchanged.
QStringList collectFiles(const QStringList &paths);
