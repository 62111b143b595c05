// The pictures of the icon resources (folder, open folder, file, executable file, device and
// the application icon), drawn by this program itself so they scale to any size.
#pragma once

#include <QIcon>
#include <QPixmap>

// The picture of icon resource iconId (an IconId) at size x size pixels; a null pixmap
// for an ID that names no icon.
QPixmap ShellPixmap(int iconId, int size);

// The icon with its 16, 32 and 48 pixel pictures; a null icon for an unknown ID.
QIcon ShellIcon(int iconId);
