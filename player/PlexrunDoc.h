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
    // Set once the first view of the document has shown its first screen: the project's main screen
    // for a new document, the opened screen file for one opened from a file.
    BOOL m_bScreenInitialised = FALSE;

    void DeleteContents() override;
    // The screen file read into the model; its view binds it.
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    void Serialize(CArchive& ar) override;

protected:
    CExtDataModel* m_pModel = nullptr;

    DECLARE_MESSAGE_MAP()
};
