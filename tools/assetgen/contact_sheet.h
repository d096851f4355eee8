// contact_sheet.h -- one overview picture of the whole picture set, for people to look at.
#pragma once

#include <vector>

#include "image.h"
#include "pictures.h"

Image MakeContactSheet(const std::vector<Picture>& pictures);
