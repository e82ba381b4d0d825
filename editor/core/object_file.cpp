#include "core/object_file.h"

namespace tessvane {

std::string_view KindWord(PathKind kind) {
    switch (kind) {
        case PathKind::Object:
            return "Object";
        case PathKind::Effect:
            return "Effect";
        case PathKind::ParticleObject:
            return "Particle Object";
        case PathKind::Texture:
        case PathKind::Brush:
            break;
    }
    return {};
}

}  // namespace tessvane
