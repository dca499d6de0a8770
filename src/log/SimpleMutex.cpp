#include "log/SimpleMutex.h"

namespace korvana {

SimpleMutex &SimpleMutex::process()
{
    static SimpleMutex mutex;
    return mutex;
}

} // namespace korvana
