#pragma once

#include "belvix.h"

// The editor's about box: its full name and version.
class About : public Belvix
{
    Q_OBJECT

public:
    About();
    ~About() override;
};
