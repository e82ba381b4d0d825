// The list itself is inline in the contract header, so hosts can use it
// without linking the framework; this is the importers' release rule.
#include "framework/contract.h"

namespace plugins {

void ReleaseMeshObject(Obj3d* object) {
    if (object != nullptr && object->type == kObjectTypeMesh) {
        delete object;
    }
}

}  // namespace plugins
