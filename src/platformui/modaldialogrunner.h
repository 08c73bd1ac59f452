// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogrunner.h"

namespace platformui {

class ModalDialogRunner : public platform::DialogRunner
{
public:
    int exec(QDialog &dialog) override;
};

} // namespace platformui
