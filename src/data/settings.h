// The settings table: 23 "key=value" lines at string ids 1001 to 1023. Ids 1001 to 1011 are the
// rectangles of the skin pieces, ids 1012 to 1023 the product's names. The id alone decides which
// setting a line fills; the key is documentation.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/resource_ids.h"
#include "format/settings_syntax.h"
#include "platform/error.h"
#include "platform/resources.h"

namespace setup {

// The eleven skin pieces, in the order of their ids 1001 to 1011.
enum class SkinPiece {
    FrmTop1Back,
    FrmTop2Back,
    FrmCenter1Back,
    FrmCenter2Back,
    FrmCenter3Back,
    FrmCenter4Back,
    FrmBottomBack,
    PrBBack,
    PrBBar,
    Btn,
    BtnClose,
};
constexpr int kSkinPieceCount = 11;

// A rectangle of the skin atlas: left, top, width, height in pixels.
using format::PieceRect;

struct ProductStrings {
    std::string Company;
    std::string SoftSysName;
    std::string MainExeName;
    std::string UninstallName;
    std::string SoftYear;
    std::string SoftVersion;
    std::string SoftSvrName;
    std::string SvrExeName;
    std::string SoftTrialName;
    std::string SoftTrialExeName;
    std::string SoftForFreeName;
    std::string SoftForFreeExeName;
};

using format::kFirstSettingId;
using format::kLastRectSettingId;
using format::kLastSettingId;

// The table as its one reading pass gives it, for the engine and the window alike: the
// rectangles and names read, and the error that stopped the pass, if one did.
struct SetupSettings {
    // In the order of SkinPiece; nothing for a line that was skipped or not read.
    std::array<std::optional<PieceRect>, kSkinPieceCount> pieces;
    ProductStrings strings;
    // A rectangle that did not read, and the id of its line; the ids after it are not read.
    std::optional<RuntimeError> error;
    unsigned error_id = 0;

    bool Parsed() const { return !error.has_value(); }
    // "setting <id>: <error>", for the damage report; "" when the table parsed.
    std::string Problem() const;
};

// Reads ids 1001 to 1023 in ascending order. A line that is not exactly one key and one value is
// skipped and leaves its setting empty. A rectangle value that does not give four integers ends
// the pass: the error is kept, and the ids after it are not read.
SetupSettings ReadSetupSettings(const Resources& resources);

// "x,y,w,h" as the installer reads it (format::ParseRectValue); a value that does not give four
// integers throws "List index out of bounds (3)" or "'%s' is not a valid integer value".
PieceRect ParseRectValue(std::string_view value);

// Optional sign and decimal digits, in the 32-bit range; anything else is not an integer.
int StrToInt(std::string_view text);

}  // namespace setup
