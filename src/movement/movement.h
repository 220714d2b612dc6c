// The deer's movement in tenths of a map pixel, with its foot box kept out of blocking cells.
#pragma once

constexpr int kDeerWalkSpeed = 50; // tenths per frame on one axis
constexpr int kDeerRunSpeed = 100;
constexpr int gDeerWalkSpeedDiagonal = 35; // per axis when moving diagonally
constexpr int gDeerRunSpeedDiagonal = 70;
// The foot box that collides, in tenths around the deer's centre: 12 pixels either side, 10 to 22
// pixels below. It always fits inside one cell, so the deer passes between cells that share a side.
constexpr int kFootHalfWidth = 120;
constexpr int kFootTop = 100;
constexpr int kFootBottom = 220;

extern int gPlayerInputX;      // -1 left, 0, +1 right: this frame's input
extern int gPlayerInputY;      // -1 up, 0, +1 down
extern int gPlayerOrientation; // deer sprite row: 0 right, 1 up, 2 left, 3 down

// Moves the deer by the frame's input at walking or (run nonzero) running speed, one axis at a time.
void movePlayer(int run);

// Axis moves by step tenths (0 < step < 640). Each returns 1 when the coordinate changed,
// 0 when the deer was already flush against a blocking cell or the map's edge.
int moveRight(int step);
int moveLeft(int step);
int moveDown(int step);
int moveUp(int step);
