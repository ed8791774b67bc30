// A dialog made from a template given to it rather than found by name in the resource chain.
#pragma once

#include "mfc/Dialog.h"

class CTemplateDialog : public CDialog
{
public:
    explicit CTemplateDialog(const AFX_DLG_TEMPLATE& tmpl) : m_tmpl(tmpl) {}

protected:
    const AFX_DLG_TEMPLATE* FindTemplate() const override { return &m_tmpl; }

private:
    const AFX_DLG_TEMPLATE& m_tmpl;
};
