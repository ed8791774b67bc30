// OpenLinkInBrowser: hands a link of a screen (a web or mail address, or a file) to the desktop's
// URL opener as one address, never through a command line. Only http, https, mailto and file
// links are opened (a link without a scheme is taken as http); anything else is refused.
#pragma once

#include "mfc/CString.h"

#include <functional>

BOOL OpenLinkInBrowser(LPCWSTR lpszLink, int nShowCmd);

// The address checked and normalised as it would be opened; empty when the link is refused.
CString NormalizeLinkAddress(LPCWSTR lpszLink);

// What opens an address (the desktop's URL opener by default); tests replace it. Returns the
// previous opener; an empty function puts back the default.
using LinkOpenerFn = std::function<BOOL(const CString& strAddress)>;
LinkOpenerFn SetLinkOpener(LinkOpenerFn fn);
