// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

#include "core/live/lcd_icon_table.h"

namespace kr820::lcd {

// The annunciator picture of an icon, at the size of its image on the panel, transparent
// around the ink. Drawn on first use and shared for the whole run.
const QPixmap& IconPicture(core::LcdIcon icon);

}  // namespace kr820::lcd
