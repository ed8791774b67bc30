// CPlexrunDoc: the runtime document. It owns one screen model, which its view borrows and into
// which every shown screen is loaded; the document itself is never saved by the player.
#pragma once

#include "mfc/Document.h"

class CExtDataModel;

class CPlexrunDoc : public COleDocument
{
    DECLARE_DYNCREATE(CPlexrunDoc)
public:
    CPlexrunDoc();
    ~CPlexrunDoc() override;

    CExtDataModel* GetModel() const { return m_pModel; }
    // Set once the first view of the document has loaded the project's main screen.
    BOOL m_bScreenInitialised = FALSE;

    void DeleteContents() override;
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    void Serialize(CArchive& ar) override;

protected:
    CExtDataModel* m_pModel = nullptr;

    DECLARE_MESSAGE_MAP()
};
