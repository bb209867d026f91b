/* The game image of the stand-in game executable: the addresses 0x401000 up to
   0x400000 + GAME_IMAGE_SIZE, where the plug-ins expect the game's code and data.
   "bw": uninitialised (like .bss) and writable, so the section takes no room in the file;
   MapGameImage (sim/game_image_windows.cpp) makes it executable with VirtualProtect.
   GAME_IMAGE_SIZE is sim::kGameImageSize from sim/game_image.h, handed in by CMake;
   standin_game.ld places the section first, right after the headers. */
#ifndef GAME_IMAGE_SIZE
#error "GAME_IMAGE_SIZE must be defined (sim::kGameImageSize)"
#endif

    .section .game,"bw"
    .p2align 12
    .globl _standin_game_image
_standin_game_image:
    .space GAME_IMAGE_SIZE - 0x1000
