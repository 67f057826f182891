#include "ui/menu_bar.h"

#include <QMenu>
#include <QMenuBar>

namespace tavola {

GameMenus buildMenuBar(QMenuBar* bar)
{
    QMenu* info = bar->addMenu(QString::fromUtf8("Tavola, il gioco delle sottrazioni"));
    info->setObjectName("INFOMAZIONI");
    QMenu* hello = info->addMenu(QString::fromUtf8("Contatti: chiedi al tuo insegnante"));
    hello->setObjectName("Ciao");
    hello->addAction(QString::fromUtf8(
        "Se vuoi attivare il timer per determinare la durata del gioco clicca sotto l'orologio"))->setObjectName("Tmer");
    QMenu* next = info->addMenu("nuovo");
    next->setObjectName("Next");
    QMenu* web = next->addMenu(QString::fromUtf8("Sito: nessuno, Tavola funziona senza rete"));
    web->setObjectName("web");
    web->addAction(QString::fromUtf8("Altri giochi gratuiti per la scuola? Chiedi in classe!"))->setObjectName("free");
    return {info, next};
}

}  // namespace tavola
