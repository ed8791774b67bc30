// The editor's two document templates. CMultiDocTemplateEx (screens) matches a file when its
// extension occurs anywhere in the filter extension text, so "a.xd" is a screen too; a file
// without an extension never matches. CFOZeroDocTemplate (scripts) keeps at most one document:
// opening another asks to save the first and shows the second in the same frame.
#pragma once

#include "mfc/DocTemplate.h"

class CMultiDocTemplateEx : public CMultiDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplateEx)
public:
    using CMultiDocTemplate::CMultiDocTemplate;

    Confidence MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch) override;
};

class CFOZeroDocTemplate : public CMultiDocTemplate
{
    DECLARE_DYNAMIC(CFOZeroDocTemplate)
public:
    using CMultiDocTemplate::CMultiDocTemplate;

    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name alone, no number; the untitled string when there is none.
    void SetDefaultTitle(CDocument* pDocument) override;
};
