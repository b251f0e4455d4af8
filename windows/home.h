#pragma once
// Where the game plays on Windows. Run from its own folder (the zip unpacked), it plays in that
// folder, beside parks.txt, as the Linux game plays in its working directory. Installed, its
// parks lie in the parks folder beside it and the program's folder is not the player's to
// write: it plays in %APPDATA%\Zanbury, whose copy of the parks it brings up to date first, as
// the Linux launcher does. Anywhere else (a developer's build) it plays in the working directory.

#include "app/command_line.h"

#include <string>

namespace windows {

// The words of --help for these places.
extern const HelpPlaces Places;

// Goes to the folder the game plays in, the file names of `options` made absolute first from
// where the game was started. False with the reason when that folder cannot be had.
bool enterHome(GameOptions& options, std::string& why);

// Brings the player's copy of the parks in `home` up to date with the shipped ones in `shipped`:
// a file the player lacks is copied in; one the player has left as last shipped is replaced by
// the new one; one the player changed is never touched. A copy of each file as last shipped is
// kept in home\.shipped to tell which is which. Every write is atomic; what cannot be brought
// up to date is said on standard error, and the game starts all the same.
void bringParksUpToDate(const std::string& shipped, const std::string& home);

} // namespace windows
