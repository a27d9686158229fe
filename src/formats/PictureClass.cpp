#include "formats/PictureClass.h"

#include <algorithm>

namespace quillmark {

bool PictureClass::DerivesFrom(const PictureClass& ancestor) const
{
    return this == &ancestor || std::find(Ancestors.begin(), Ancestors.end(), ancestor.Name) != Ancestors.end();
}

} // namespace quillmark
