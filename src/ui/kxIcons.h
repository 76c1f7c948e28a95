#pragma once
// The image list of the main window (ilMain): one picture per position, drawn
// from the Adwaita icon theme; the add, edit and delete pictures carry a small
// badge over their section's picture.
#include <QIcon>

namespace KxIcons {

// Positions of the image list.
enum TImage {
    imgUsers = 0, imgAddUser, imgEditUser, imgDeleteUser,
    imgDialplan, imgAddDialplan, imgEditDialplan, imgDeleteDialplan,
    imgGroups, imgAddCallGroup, imgEditCallGroup, imgDeleteCallGroup,
    imgTrunks, imgAddTrunk, imgEditTrunk, imgDeleteTrunk,
    imgInbound, imgAddInbound, imgEditInbound, imgDeleteInbound,
    imgOutbound, imgAddOutbound, imgEditOutbound, imgDeleteOutbound,
    imgGlobals, imgExit, imgSettings, imgHelp, imgCommit,
    imgHome = 31, imgSave = 32,
};

// Makes the icon theme reachable (also on the offscreen platform, which has
// no platform theme of its own). Call once after the application object exists.
void InitIconTheme();

// The picture at a position; an empty icon for positions without one.
QIcon Image(int index);

} // namespace KxIcons
