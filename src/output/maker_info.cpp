#include "output/maker_info.h"

namespace vormek {

TMakerInfo DefaultMakerInfo() { return {"维墨克软件工作室", "http://vormek.example.org"}; }

}  // namespace vormek
