// The obstacle kinds as the tools' messages name them.

#include "park/formats.h"
#include "tools/common/common.h"

#include <iterator>

namespace tools {

const char* kindName(int32_t kind) {
    switch (static_cast<park::ObstacleKind>(kind)) {
    case park::ObstacleKind::Block:
        return "block";
    case park::ObstacleKind::Ramp:
        return "ramp";
    case park::ObstacleKind::Rail:
        return "rail";
    case park::ObstacleKind::Hazard:
        return "hazard";
    }
    return "no kind";
}

std::string kindList() {
    std::string text;
    const std::size_t count = std::size(park::ObstacleKinds);
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<int32_t>(park::ObstacleKinds[i]);
        text += (i == 0           ? ""
                 : i + 1 == count ? " or "
                                  : ", ") +
                std::to_string(value) + " (" + kindName(value) + ")";
    }
    return text;
}

} // namespace tools
