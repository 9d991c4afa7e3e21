// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#ifndef GLYPHMORPH_LIBGLYPHMORPHCSSLOADER_H
#define GLYPHMORPH_LIBGLYPHMORPHCSSLOADER_H

#include "glyphmorph_export.h"
#include "singletonbase.h"

#include <QObject>

class LibGlyphmorphCSSLoader;

// Before the class derives from it, so that the one instance pointer is exported.
extern template class GLYPHMORPH_EXPORT SingletonBase<LibGlyphmorphCSSLoader>;

/**
 * Marks that the library's selector is in use; the first EmoticonSelectorWidget creates the one
 * instance, which lives until the process ends. It holds nothing and does nothing further: the
 * library's stylesheet is made known to the platform by the library's registration at load.
 */
class GLYPHMORPH_EXPORT LibGlyphmorphCSSLoader : public QObject,
                                                 public SingletonBase<LibGlyphmorphCSSLoader>
{
    Q_OBJECT

public:
    explicit LibGlyphmorphCSSLoader(QObject *parent = nullptr);
    ~LibGlyphmorphCSSLoader() override;
};

#endif
