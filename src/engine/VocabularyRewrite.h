#pragma once

#include <QString>

class CApp;
class CVocab;
class ListBox;

// Rewrites a vocabulary file from the words that lstDictionary shows, in list order, as records
// 1 to n: the words go through the temporary store of app and are stored again by vocab. The new
// file replaces the old one only when it is complete; a numbered error leaves the old file whole.
void RewriteVocabulary(CApp &app, CVocab &vocab, const QString &sVocabName,
                       const ListBox &lstDictionary);
