// Line of sight through the projectile grid, and the window from which the hunter may shoot.
#pragma once

constexpr int kShootingMargin = 90; // map pixels kept from every edge of the window

// 1 when the segment between two map points crosses no projectile-blocking cell (the end cell
// is not tested), 0 when it is blocked.
int hasLineOfSight(int x1, int y1, int x2, int y2);

// 1 when the hunter stands strictly inside the shooting window around the deer, 0 otherwise.
int isInPositionToShoot();
