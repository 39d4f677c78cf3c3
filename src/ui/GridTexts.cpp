// The grid control's own texts and their translations.
#include "ui/Translate.h"

namespace {

constexpr uint32_t kPolish = LanguageCode('P', 'L', 'P', 'L', 255);
constexpr uint32_t kId = kTranslationIdentifier;

const TranslationEntry kGridTexts[] = {
    {kId, "Do you really want to delete the selected %s ?"},
    {kPolish, "Czy na pewno chcesz usunąć zaznaczone %s ?"},
    {kId, "Insert"},
    {kPolish, "Wstaw"},
    {kId, "Insert a new %s into the table."},
    {kPolish, "Wstawia nowy %s do tabeli."},
    {kId, "Append"},
    {kPolish, "Dodaj"},
    {kId, "Append a new %s at the end of the table."},
    {kPolish, "Dodaje nowy %s na końcu tabeli."},
    {kId, "Duplicate"},
    {kPolish, "Zduplikuj"},
    {kId, "Edit"},
    {kPolish, "Edytuj"},
    {kId, "Edit active %s."},
    {kPolish, "Edytuje aktualny %s."},
    {kId, "Delete"},
    {kPolish, "Usuń"},
    {kId, "Delete active %s."},
    {kPolish, "Usuń aktualny %s."},
    {kId, "Move up"},
    {kPolish, "Przesuń do góry"},
    {kId, "Swap %s with previous thus moving it up."},
    {kPolish, "Zamień %s z poprzednim przesuwając go do góry."},
    {kId, "Move down"},
    {kPolish, "Przesuń w dół"},
    {kId, "Swap %s with next thus moving it down."},
    {kPolish, "Zamień %s z następnym przesuwając go w dół."},
    {kId, "Select all table rows"},
    {kPolish, "Zaznacz wszystkie wiersze tabeli"},
    {kId, "Select all"},
    {kPolish, "Zaznacz wszystkie"},
    {kId, "Columns"},
    {kPolish, "Kolumny"},
    {kId, "row"},
    {kPolish, "wiersz"},
    {kId, "Close"},
    {kPolish, "Zamknij"},
    {kId, "Find"},
    {kPolish, "Znajdź"},
    {kId, "Find options"},
    {kPolish, "Opcje szukania"},
    {kId, "First %s"},
    {kPolish, "Pierwszy %s"},
    {kId, "Last %s"},
    {kPolish, "Ostatni %s"},
    {kId, "Previous %s"},
    {kPolish, "Poprzedni %s"},
    {kId, "Next %s"},
    {kPolish, "Następny %s"},
    {kId, "Higlight found cells"},
    {kPolish, "Podświetlaj znalezione komórki"},
    {kId, "Hide rows"},
    {kPolish, "Ukrywaj niepasujące wiersze"},
    {kId, "Immediate search"},
    {kPolish, "Wyszukiwanie natychmiastowe"},
    {kId, "Case sensitive"},
    {kPolish, "Rozróżniaj małe i duże litery"},
    {0, nullptr},
};

}  // namespace

// Registered before the main body runs; Translate.cpp names this flag so the table is linked in.
extern const bool kGridTextsRegistered;
const bool kGridTextsRegistered = RegisterTranslationModule(kGridTexts);
