#include "VocabularyRewrite.h"

#include "data/AppError.h"
#include "data/CVocab.h"
#include "data/DataFiles.h"
#include "data/FileRewrite.h"
#include "data/ListBox.h"
#include "engine/CApp.h"

void RewriteVocabulary(CApp &app, CVocab &vocab, const QString &sVocabName,
                       const ListBox &lstDictionary)
{
    const int n = lstDictionary.count();
    app.VAppTempClear();
    for (int i = 0; i < n; ++i)
        app.VAppTempStore(lstDictionary.item(i));
    FileRewrite rewrite(DataFiles::vocabPath(app.programDir(), sVocabName));
    rewrite.raiseUnlessReady();
    app.CreateNewFile(true, sVocabName);
    vocab.InitRecord();
    for (qint16 i = 1; i <= n; ++i)
        vocab.AddDictionaryWord(true, sVocabName, app.VAppTempRetrieve(i),
                                QStringLiteral("DictionaryDelete"));
    rewrite.commit();
    app.VAppTempClear();
}
