#include "formats/RasterGraphic.h"

namespace quillmark {

TRasterGraphic::~TRasterGraphic() = default;

} // namespace quillmark
