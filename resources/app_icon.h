#pragma once
// The application icon, our own drawing: a converter with its serial plug, its network port and
// the waves of the LAN above it, as an XPM image.

namespace resources {

inline const char* const kAppIconXpm[] = {
    "32 32 9 1",
    ". c None",
    "# c #1b2a41",
    "b c #2f6db5",
    "l c #5b93d6",
    "g c #c0c0c0",
    "y c #f2c230",
    "G c #3cc45a",
    "w c #ffffff",
    "a c #2f6db5",
    "................................",
    "........aaaaaaaaaaaaaaaa........",
    "................................",
    "................................",
    "..........aaaaaaaaaaaa..........",
    "................................",
    "................................",
    "............aaaaaaaa............",
    "................................",
    "................................",
    "...##########################...",
    "...#llllllllllllllllllllllll#...",
    "...#llllllllllllllllllllllll#...",
    "...#llllllllllllllllllllllll#...",
    "...#bbbbbbbbbbbbbbbbbbbbbbbb#...",
    "####bbbbbbbbbbbbbbbbbbbbbbbb####",
    "#gg#bbbbbbbbbbbbbbbbbbbbbbbb#yy#",
    "#gg#bbbbbbbbbbbbwwbwwbwwbbbb#yy#",
    "#gg#bbbbbbbbbbbbwwbwwbwwbbbb#yy#",
    "#gg#bbbbbbbbbbbbwwbwwbwwbbbb#yy#",
    "####bbbGGbbyybbbwwbwwbwwbbbb####",
    "...#bbbGGbbyybbbwwbwwbwwbbbb#...",
    "...#bbbbbbbbbbbbbbbbbbbbbbbb#...",
    "...#bbbbbbbbbbbbbbbbbbbbbbbb#...",
    "...#bbbbbbbbbbbbbbbbbbbbbbbb#...",
    "...##########################...",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................"};

}  // namespace resources
