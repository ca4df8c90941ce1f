#pragma once

#include <QString>
#include <functional>

// Shortens a path for a window title until TextWidth says it fits MaxWidth:
// first directories give way to "...", then the drive and the rest of the
// directory part, leaving the file name alone when nothing else fits.
// Separators are the platform's own ("\" and "/" with drive letters on
// Windows, "/" elsewhere).
QString ShortenPath(const QString& Path, int MaxWidth,
                    const std::function<int(const QString&)>& TextWidth);

// The same with explicit separators, for every platform's rule in one place.
QString ShortenPathWith(const QString& Path, int MaxWidth,
                        const std::function<int(const QString&)>& TextWidth, bool WindowsRules);
