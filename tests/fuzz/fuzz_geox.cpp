// Fuzz target: the bytes of a .geox file through the mesh loader and, for a
// mesh it accepts, both normal computations (which index by the faces).
#include <cstddef>
#include <cstdint>

#include "assets/qor_geox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGeoxData mesh;
    const geox_fault fault = parse_geox(mesh, data, size);
    if (fault.reason.empty()) {
        compute_face_normals(mesh);
        compute_vertex_normals(mesh);
    }
    return 0;
}
