// Ids of the resources in Zelmo3.rc, shared by the resource script and the code that loads them. An include
// guard rather than #pragma once, for the resource compilers.
#ifndef ZELMO_RESOURCE_H
#define ZELMO_RESOURCE_H

// The program's icon: the lowest id, so that Explorer and shortcuts show it for the exe.
#define ZELMO_ICON_ID 1

#endif
