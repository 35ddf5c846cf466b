#include "link/sl_reply.h"

namespace vantor {

const std::array<ReplyType, 6> ReplyTypeTable = {{
    {'A', 16, 12},
    {'N', 16, 12},
    {'V', 132, 128},
    {'P', 133, 129},
    {'C', 8197, 8193},
    {'B', 32773, 32769},
}};

}  // namespace vantor
