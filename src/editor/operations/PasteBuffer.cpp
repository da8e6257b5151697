#include "editor/operations/PasteBuffer.h"

namespace tsl {

void CP_Manager::Reset(int planes, int width, int height)
{
    BufferWidth = width;
    BufferHeight = height;
    Planes.assign(static_cast<std::size_t>(planes),
                  std::vector<std::uint16_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0));
    X1 = X2 = Y1 = Y2 = 0;
    Preview = Image();
}

} // namespace tsl
