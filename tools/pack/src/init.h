// setup-pack --init: the starting files of a new product, so a release engineer can package it
// without reading code. A commented settings template, an order file listing the payload folder,
// a copy of the skin and a text naming its pieces.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "options.h"

namespace pack {

inline constexpr char kInitSettingsName[] = "settings.txt";
inline constexpr char kInitOrderName[] = "payload.order";
inline constexpr char kInitSkinName[] = "skin.bmp";
inline constexpr char kInitPiecesName[] = "skin-pieces.txt";

// Every file below payload, as targets with "\" (sorted, byte order): the programs (".exe") of
// the top folder first, then the rest. Empty, with error set, when the folder cannot be listed.
std::vector<std::string> PayloadTargets(const std::filesystem::path& payload, std::string& error);

// All 23 settings, each after a comment saying what it is; the skin's rectangles are the demo
// skin's, the program names guessed from the programs of the top folder.
std::string SettingsTemplate(const std::vector<std::string>& targets);

// Each piece of the skin: its key, rectangle, size and use.
std::string SkinPiecesText();

// Writes the four files into o.init; refuses to replace any that exists. 0, or 1 on failure.
int RunInit(const Options& o, std::ostream& log);

}  // namespace pack
