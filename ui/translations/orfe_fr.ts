<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutBox</name>
    <message>
        <source>&lt;h4&gt;Purpose&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Objet&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;i&gt;ORFE&lt;/i&gt; is a graphical utility for tuning your musical instruments, with error and volume history and advanced features. </source>
        <translation>&lt;i&gt;ORFE&lt;/i&gt; est un utilitaire graphique pour accorder vos instruments de musique, avec l’historique de l’erreur et du volume et des fonctions avancées. </translation>
    </message>
    <message>
        <source>&lt;p&gt;Missing a feature, or found something that does not work as it should? Tell us on the &lt;a href=&quot;%1&quot;&gt;issue tracker&lt;/a&gt;; a short description of what you played, with which capture system, helps a lot.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Une fonction vous manque, ou quelque chose ne marche pas comme il le devrait ? Dites-le-nous sur le &lt;a href=&quot;%1&quot;&gt;suivi des problèmes&lt;/a&gt; ; une courte description de ce que vous avez joué, et avec quel système de capture, aide beaucoup.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Legal&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Mentions légales&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;ORFE is free software, licensed under the GNU General Public License, version 3 or any later version: you may share it, change it and pass on your changes under that licence.&lt;/p&gt;</source>
        <translation>&lt;p&gt;ORFE est un logiciel libre, sous la licence publique générale GNU, version 3 ou toute version ultérieure : vous pouvez le partager, le modifier et transmettre vos modifications selon cette licence.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Disclaimer&lt;/h4&gt;</source>
        <translation>&lt;h4&gt;Avertissement&lt;/h4&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;ORFE comes with no warranty of any kind, not even that it suits a particular use. Check important tunings by ear or with a second reference; the licence has the details.&lt;/p&gt;</source>
        <translation>&lt;p&gt;ORFE est fourni sans aucune garantie, pas même celle de convenir à un usage particulier. Vérifiez les accords importants à l’oreille ou avec une seconde référence ; la licence donne les détails.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About ORFE…</source>
        <translation>À propos d’ORFE…</translation>
    </message>
    <message>
        <source>ORFE</source>
        <translation>ORFE</translation>
    </message>
    <message>
        <source>&lt;version&gt;</source>
        <translation>&lt;version&gt;</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Credits&lt;/h4&gt;&lt;p&gt;Sound analysis, capture, views and interface written for the Orfeon project.&lt;/p&gt;&lt;p&gt;Built on the Qt toolkit (The Qt Company and contributors), the FFTW library (Matteo Frigo and Steven G. Johnson) for the Fourier transforms, and the JACK Audio Connection Kit for low-latency capture.&lt;/p&gt;&lt;p&gt;Historical temperaments after the tables of Andreas Werckmeister and Johann Philipp Kirnberger; microtonal scales in the Scala file format of Manuel Op de Coul.&lt;/p&gt;&lt;p&gt;Translations: French by the Orfeon contributors.&lt;/p&gt;</source>
        <translation>&lt;h4&gt;Remerciements&lt;/h4&gt;&lt;p&gt;Analyse du son, capture, vues et interface écrites pour le projet Orfeon.&lt;/p&gt;&lt;p&gt;Construit sur la boîte à outils Qt (The Qt Company et ses contributeurs), la bibliothèque FFTW (Matteo Frigo et Steven G. Johnson) pour les transformées de Fourier, et le JACK Audio Connection Kit pour la capture à faible latence.&lt;/p&gt;&lt;p&gt;Tempéraments historiques d’après les tables d’Andreas Werckmeister et de Johann Philipp Kirnberger ; gammes microtonales au format de fichier Scala de Manuel Op de Coul.&lt;/p&gt;&lt;p&gt;Traductions : français par les contributeurs d’Orfeon.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Remerciements</translation>
    </message>
</context>
<context>
    <name>ConfigForm</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Start in full-screen</source>
        <translation>Démarrer en plein écran</translation>
    </message>
    <message>
        <source>Raise the window to the whole screen when the program is started
(You can also use the shortcut &apos;f&apos;).</source>
        <translation>Agrandit la fenêtre à tout l’écran au démarrage du programme
(vous pouvez aussi utiliser le raccourci « f »).</translation>
    </message>
    <message>
        <source>Auto-save configuration and layout on exit</source>
        <translation>Enregistrer la configuration et la disposition en quittant</translation>
    </message>
    <message>
        <source>Tuning scale</source>
        <translation>Tempérament</translation>
    </message>
    <message>
        <source>The used tuning scale to determine note frequency values. Useful for tuning historic intruments.</source>
        <translation>Le tempérament qui détermine les fréquences des notes. Utile pour accorder des instruments anciens.</translation>
    </message>
    <message>
        <source>Chromatic</source>
        <translation>Chromatique</translation>
    </message>
    <message>
        <source>Werckmeister III</source>
        <translation>Werckmeister III</translation>
    </message>
    <message>
        <source>Kirnberger III</source>
        <translation>Kirnberger III</translation>
    </message>
    <message>
        <source>Diatonic</source>
        <translation>Diatonique</translation>
    </message>
    <message>
        <source>Meantone (1/4)</source>
        <translation>Mésotonique (1/4)</translation>
    </message>
    <message>
        <source>Transposition</source>
        <translation>Transposition</translation>
    </message>
    <message>
        <source>Note names</source>
        <translation>Noms des notes</translation>
    </message>
    <message>
        <source>Use localized note names. e.g.:
anglo-saxon: C D E F G A B
latin: Do Re Mi Fa Sol La Si</source>
        <translation>Noms des notes selon l’usage local, par exemple :
anglo-saxon : C D E F G A B
latin : Do Re Mi Fa Sol La Si</translation>
    </message>
    <message>
        <source>Anglo-Saxon</source>
        <translation>Anglo-saxon</translation>
    </message>
    <message>
        <source>Latin</source>
        <translation>Latin</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <source>Hindustani</source>
        <translation>Hindoustani</translation>
    </message>
    <message>
        <source>Byzantine</source>
        <translation>Byzantin</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;To get more options, right-click every view to show up their properties!&lt;/b&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Pour plus d’options, cliquez du bouton droit sur chaque vue pour afficher ses réglages !&lt;/b&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>The capture system</source>
        <translation>Le système de capture</translation>
    </message>
    <message>
        <source>The capture system (e.g. JACK, ALSA, OSS, PortAudio)</source>
        <translation>Le système de capture (par ex. JACK, ALSA, OSS, PortAudio)</translation>
    </message>
    <message>
        <source>Selected the capture system (e.g. JACK, ALSA, OSS, PortAudio)</source>
        <translation>Le système de capture choisi (par ex. JACK, ALSA, OSS, PortAudio)</translation>
    </message>
    <message>
        <source>Auto detect a working capture system at ORFE startup.</source>
        <translation>Cherche un système de capture qui fonctionne au démarrage d’ORFE.</translation>
    </message>
    <message>
        <source>Auto-detect an available capture system at startup</source>
        <translation>Détecter un système de capture disponible au démarrage</translation>
    </message>
    <message>
        <source>Auto detect now</source>
        <translation>Détecter maintenant</translation>
    </message>
    <message>
        <source>JACK</source>
        <translation>JACK</translation>
    </message>
    <message>
        <source>Client name</source>
        <translation>Nom du client</translation>
    </message>
    <message>
        <source>The name of this ORFE instance in the JACK connections.</source>
        <translation>Le nom de cette instance d’ORFE dans les connexions JACK.</translation>
    </message>
    <message>
        <source>orfe</source>
        <translation>orfe</translation>
    </message>
    <message>
        <source>automatically connect to…</source>
        <translation>se connecter automatiquement à…</translation>
    </message>
    <message>
        <source>Automatically connect ORFE to the following source at startup (e.g. alsa_pcm:capture_1)</source>
        <translation>Connecte ORFE à la source suivante au démarrage (par ex. alsa_pcm:capture_1)</translation>
    </message>
    <message>
        <source>JACK sampling rate</source>
        <translation>Fréquence d’échantillonnage de JACK</translation>
    </message>
    <message>
        <source>Sampling rate of the JACK server</source>
        <translation>Fréquence d’échantillonnage du serveur JACK</translation>
    </message>
    <message>
        <source>Sampling rate</source>
        <translation>Fréquence d’échantillonnage</translation>
    </message>
    <message>
        <source>The chosen sampling rate.
Do not use a too big sampling rate. 22050Hz should be enough in most cases.</source>
        <translation>La fréquence d’échantillonnage choisie.
N’utilisez pas une fréquence trop élevée : 22050 Hz suffisent dans la plupart des cas.</translation>
    </message>
    <message>
        <source>set to max</source>
        <translation>au maximum</translation>
    </message>
    <message>
        <source>Set the sampling rate to the maximum possible value.</source>
        <translation>Règle la fréquence d’échantillonnage sur la plus haute valeur possible.</translation>
    </message>
    <message>
        <source>Do not use a too big sampling rate. 22050Hz should be largely enough in most cases.</source>
        <translation>N’utilisez pas une fréquence d’échantillonnage trop élevée : 22050 Hz suffisent largement dans la plupart des cas.</translation>
    </message>
    <message>
        <source>Mix channels if there are multiple (if unchecked, the first channel will be used)</source>
        <translation>Mélanger les canaux s’il y en a plusieurs (sinon, seul le premier canal est utilisé)</translation>
    </message>
    <message>
        <source>Device name</source>
        <translation>Nom du périphérique</translation>
    </message>
    <message>
        <source>ALSA</source>
        <translation>ALSA</translation>
    </message>
    <message>
        <source>The name of the ALSA device to use.</source>
        <translation>Le nom du périphérique ALSA à utiliser.</translation>
    </message>
    <message>
        <source>default</source>
        <translation>par défaut</translation>
    </message>
    <message>
        <source>OSS</source>
        <translation>OSS</translation>
    </message>
    <message>
        <source>The name of the OSS device to connect to</source>
        <translation>Le nom du périphérique OSS auquel se connecter</translation>
    </message>
    <message>
        <source>/dev/dsp</source>
        <translation>/dev/dsp</translation>
    </message>
    <message>
        <source>The name of the PortAudio device to connect to</source>
        <translation>Le nom du périphérique PortAudio auquel se connecter</translation>
    </message>
    <message>
        <source>PortAudio</source>
        <translation>PortAudio</translation>
    </message>
    <message>
        <source>Qt</source>
        <translation>Qt</translation>
    </message>
    <message>
        <source>Capture System</source>
        <translation>Système de capture</translation>
    </message>
    <message>
        <source>Refresh time</source>
        <translation>Période de rafraîchissement</translation>
    </message>
    <message>
        <source>Time between each sound analysis.
Can be increased to get less CPU usage (but less temporal precision).</source>
        <translation>Temps entre deux analyses du son.
L’augmenter réduit l’usage du processeur (mais aussi la précision temporelle).</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Notes range</source>
        <translation>Étendue des notes</translation>
    </message>
    <message>
        <source>Notes range filtering</source>
        <translation>Filtrage de l’étendue des notes</translation>
    </message>
    <message>
        <source>Filter the sound below the lowest semitone and above the highest semitone to avoid artefacts and noises in all the following steps of the sound analysis.</source>
        <translation>Filtre le son sous le demi-ton le plus bas et au-dessus du plus haut, pour éviter artefacts et bruits dans toutes les étapes suivantes de l’analyse du son.</translation>
    </message>
    <message>
        <source>Rectangular filter: bad precision, but very fast</source>
        <translation>Filtre rectangulaire : peu précis, mais très rapide</translation>
    </message>
    <message>
        <source>FIR filter: good precision, but more costly in CPU usage</source>
        <translation>Filtre RIF : précis, mais plus coûteux en processeur</translation>
    </message>
    <message>
        <source>Algorithm</source>
        <translation>Algorithme</translation>
    </message>
    <message>
        <source>Algorithm settings</source>
        <translation>Réglages de l’algorithme</translation>
    </message>
    <message>
        <source>Volume threshold</source>
        <translation>Seuil de volume</translation>
    </message>
    <message>
        <source>Ignore all sounds with volume below this threshold [dB]
(Shown as a red line in various views)</source>
        <translation>Ignorer tous les sons dont le volume est sous ce seuil [dB]
(montré par une ligne rouge dans plusieurs vues)</translation>
    </message>
    <message>
        <source> dB</source>
        <translation> dB</translation>
    </message>
    <message>
        <source>Window size factor</source>
        <translation>Facteur de taille de fenêtre</translation>
    </message>
    <message>
        <source>Factor defining the window size (from the lowest possible period defined by the notes range).
The bigger this factor, the more stable the analysis. However, by increasing this factor, ORFE will need more CPU and will react slower to sound changes.</source>
        <translation>Facteur qui définit la taille de la fenêtre (à partir de la plus longue période possible, donnée par l’étendue des notes).
Plus ce facteur est grand, plus l’analyse est stable. Mais en l’augmentant, ORFE demande plus de processeur et réagit plus lentement aux changements du son.</translation>
    </message>
    <message>
        <source>Use sub-harmonic audibility threshold</source>
        <translation>Utiliser le seuil d’audibilité des sous-harmoniques</translation>
    </message>
    <message>
        <source>Ignore weak sub-harmonics.
This threshold is defined between two neighbors frequency components.
Prevents underestimation errors.</source>
        <translation>Ignorer les sous-harmoniques faibles.
Ce seuil est défini entre deux composantes fréquentielles voisines.
Évite les erreurs par sous-estimation.</translation>
    </message>
    <message>
        <source>Frequency refinement</source>
        <translation>Affinage de la fréquence</translation>
    </message>
    <message>
        <source>Frequency refinement settings</source>
        <translation>Réglages de l’affinage de la fréquence</translation>
    </message>
    <message>
        <source>Maximum number of periods</source>
        <translation>Nombre maximal de périodes</translation>
    </message>
    <message>
        <source>Use a refinement method in time domain: compute the mean of various period lengths (the option allows to chose the number of periods to use).</source>
        <translation>Utiliser une méthode d’affinage dans le domaine temporel : la moyenne des longueurs de plusieurs périodes (l’option permet de choisir le nombre de périodes à utiliser).</translation>
    </message>
    <message>
        <source>Maximum number of harmonics</source>
        <translation>Nombre maximal d’harmoniques</translation>
    </message>
    <message>
        <source>Use a refinement method in frequency domain: compute the mean of the quasi-harmonic related spectral peaks (the option allows to chose the number of harmonics to use).</source>
        <translation>Utiliser une méthode d’affinage dans le domaine fréquentiel : la moyenne des pics spectraux en rapport quasi harmonique (l’option permet de choisir le nombre d’harmoniques à utiliser).</translation>
    </message>
    <message>
        <source>Frequency domain fundamental refinement:
mean of the fundamental relative frequencies of the harmonics.
Choose the number of harmonics to use.</source>
        <translation>Affinage du fondamental dans le domaine fréquentiel :
moyenne des fréquences des harmoniques ramenées au fondamental.
Choisissez le nombre d’harmoniques à utiliser.</translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>Quantificateur</translation>
    </message>
    <message>
        <source>Quantizer settings</source>
        <translation>Réglages du quantificateur</translation>
    </message>
    <message>
        <source>Latency</source>
        <translation>Latence</translation>
    </message>
    <message>
        <source>Quantize the analysis results: ignore frequency jumps, fill gaps, ignore short notes.
The smaller the value, the faster the tuner. However, by decreasing the value, the computed frequency will be more unstable.</source>
        <translation>Quantifie les résultats de l’analyse : ignore les sauts de fréquence, comble les trous, ignore les notes brèves.
Plus la valeur est petite, plus l’accordeur est rapide ; mais en la diminuant, la fréquence calculée devient plus instable.</translation>
    </message>
    <message>
        <source>Sound Analysis</source>
        <translation>Analyse du son</translation>
    </message>
    <message>
        <source>Restore &amp;factory settings</source>
        <translation>Restaurer les réglages d’&amp;usine</translation>
    </message>
    <message>
        <source>Restore settings as if you just installed ORFE (requires to restart ORFE).</source>
        <translation>Rétablit les réglages d’une installation neuve d’ORFE (il faut ensuite redémarrer ORFE).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Use these settings and quit the configuration panel (it is required to click on the &quot;Save settings&quot; button to permanently keep these settings for each ORFE start)</source>
        <translation>Utilise ces réglages et ferme le panneau de configuration (pour les garder à chaque démarrage d’ORFE, cliquez ensuite sur le bouton « Enregistrer les réglages »)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Discard any changes and quit the configuration panel</source>
        <translation>Abandonne les modifications et ferme le panneau de configuration</translation>
    </message>
    <message>
        <source>Detector</source>
        <translation>Détecteur</translation>
    </message>
    <message>
        <source>Combed spectrum</source>
        <translation>Spectre en peigne</translation>
    </message>
    <message>
        <source>Partials</source>
        <translation>Partiels</translation>
    </message>
    <message>
        <source>Combed spectrum: the classic detector, the lightest on the processor.
Partials: finds the period by autocorrelation, then measures and fits the partials: fewer octave errors on wind and brass,
a steady reading to a fraction of a cent, and the first partial of stretched (piano) tones. It refines its own estimate: the refinement below is not used.</source>
        <translation>Spectre en peigne : le détecteur classique, le plus léger pour le processeur.
Partiels : trouve la période par autocorrélation, puis mesure et ajuste les partiels : moins d’erreurs d’octave sur les vents et les cuivres,
une lecture stable à une fraction de cent près, et le premier partiel des sons étirés (piano). Il affine lui-même son estimation : l’affinage ci-dessous n’est pas utilisé.</translation>
    </message>
</context>
<context>
    <name>CustomInstrumentTunerForm</name>
    <message>
        <source>Restore Factory Settings</source>
        <translation>Restaurer les réglages d’usine</translation>
    </message>
    <message>
        <source>This operation is NOT reversible.
Are you sure you want to lose all your current settings ?</source>
        <translation>Cette opération est IRRÉVERSIBLE.
Voulez-vous vraiment perdre tous vos réglages actuels ?</translation>
    </message>
    <message>
        <source>You can now restart ORFE to get back factory settings</source>
        <translation>Vous pouvez maintenant redémarrer ORFE pour retrouver les réglages d’usine</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Please compile me with a capture system ...</source>
        <translation>Veuillez me compiler avec un système de capture…</translation>
    </message>
    <message>
        <source>Transposition in number of semitones relative to %1.
Useful to convert note names to a corresponding transposing instrument (e.g. %2 for saxophone, %3 for trumpet).</source>
        <translation>Transposition en nombre de demi-tons par rapport à %1.
Utile pour lire les noms de notes d’un instrument transpositeur (par ex. %2 pour le saxophone, %3 pour la trompette).</translation>
    </message>
    <message>
        <source>The base tuning frequency (the %1 frequency)</source>
        <translation>La fréquence d’accord de base (la fréquence de %1)</translation>
    </message>
    <message>
        <source>Allows adding an offset to the reference %1</source>
        <translation>Permet de décaler la référence %1</translation>
    </message>
    <message>
        <source>Range of possible notes from the lowest to the highest around the %1 reference note.
Smaller the range, smaller the CPU usage.</source>
        <translation>Étendue des notes possibles, de la plus basse à la plus haute, autour de la note de référence %1.
Plus l’étendue est petite, moins le processeur travaille.</translation>
    </message>
    <message>
        <source>Lowest semitone from the %1 reference note.
It can useful to put it higher than -35 to avoid disturbance from the sector alimentation (~50hz).</source>
        <translation>Demi-ton le plus bas, compté depuis la note de référence %1.
Il peut être utile de le placer au-dessus de -35 pour éviter les perturbations du secteur (~50 Hz).</translation>
    </message>
    <message>
        <source>Highest semitone from the %1 reference note.</source>
        <translation>Demi-ton le plus haut, compté depuis la note de référence %1.</translation>
    </message>
    <message>
        <source>the settings could not be saved: %1 or its folder cannot be written</source>
        <translation>les réglages n’ont pas pu être enregistrés : %1 ou son dossier n’est pas accessible en écriture</translation>
    </message>
    <message>
        <source>WARNING: some lines of the settings file cannot be read; it is not written at exit: Ctrl+S saves the current settings over it</source>
        <translation>ATTENTION : certaines lignes du fichier de réglages sont illisibles ; il n’est pas écrit à la sortie : Ctrl+S enregistre les réglages actuels à sa place</translation>
    </message>
</context>
<context>
    <name>DialView</name>
    <message>
        <source>Dial</source>
        <translation>Cadran</translation>
    </message>
    <message>
        <source>Show tolerance</source>
        <translation>Afficher la tolérance</translation>
    </message>
    <message>
        <source>Show trace</source>
        <translation>Afficher la trace</translation>
    </message>
    <message>
        <source>Use cents</source>
        <translation>Utiliser les cents</translation>
    </message>
    <message>
        <source>Scale range</source>
        <translation>Étendue de l’échelle</translation>
    </message>
    <message>
        <source>Scale range (in cents)</source>
        <translation>Étendue de l’échelle (en cents)</translation>
    </message>
    <message>
        <source>cents</source>
        <translation>cents</translation>
    </message>
    <message>
        <source>1/x</source>
        <translation>1/x</translation>
    </message>
</context>
<context>
    <name>GLErrorHistory</name>
    <message>
        <source>Error history</source>
        <translation>Historique de l’erreur</translation>
    </message>
    <message>
        <source>Use cents</source>
        <translation>Utiliser les cents</translation>
    </message>
    <message>
        <source>Scale range</source>
        <translation>Étendue de l’échelle</translation>
    </message>
    <message>
        <source>Scale range (in cents)</source>
        <translation>Étendue de l’échelle (en cents)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>GLFT</name>
    <message>
        <source>Fourier Transform</source>
        <translation>Transformée de Fourier</translation>
    </message>
    <message>
        <source>dB scale</source>
        <translation>Échelle en dB</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>window length</source>
        <translation>longueur de la fenêtre</translation>
    </message>
    <message>
        <source>- Press left mouse button to move the view</source>
        <translation>- Bouton gauche de la souris pour déplacer la vue</translation>
    </message>
    <message>
        <source>- Press SHIFT key and left mouse button to zoom in and out</source>
        <translation>- Touche Maj et bouton gauche de la souris pour zoomer et dézoomer</translation>
    </message>
    <message>
        <source>- Double-click to reset the view</source>
        <translation>- Double-clic pour réinitialiser la vue</translation>
    </message>
    <message>
        <source>Frequency %1 [Hz]</source>
        <translation>Fréquence %1 [Hz]</translation>
    </message>
</context>
<context>
    <name>GLFreqStruct</name>
    <message>
        <source>Harmonics</source>
        <translation>Harmoniques</translation>
    </message>
    <message>
        <source>Number of harmonics</source>
        <translation>Nombre d’harmoniques</translation>
    </message>
    <message>
        <source>Harmonics&apos; amplitude</source>
        <translation>Amplitude des harmoniques</translation>
    </message>
</context>
<context>
    <name>GLGraph</name>
    <message>
        <source>Captured Sound</source>
        <translation>Son capturé</translation>
    </message>
    <message>
        <source>Show Wave Form</source>
        <translation>Afficher la forme d’onde</translation>
    </message>
    <message>
        <source>Auto scale</source>
        <translation>Échelle automatique</translation>
    </message>
    <message>
        <source>Scale factor</source>
        <translation>Facteur d’échelle</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Max height</source>
        <translation>Hauteur max</translation>
    </message>
</context>
<context>
    <name>GLHistory</name>
    <message>
        <source>Keep previous notes</source>
        <translation>Garder les notes précédentes</translation>
    </message>
</context>
<context>
    <name>GLSample</name>
    <message>
        <source>Waveform</source>
        <translation>Forme d’onde</translation>
    </message>
    <message>
        <source>Show fading</source>
        <translation>Afficher le fondu</translation>
    </message>
    <message>
        <source>Number of fading</source>
        <translation>Nombre de périodes en fondu</translation>
    </message>
    <message>
        <source>Waveform&apos;s period</source>
        <translation>Période de la forme d’onde</translation>
    </message>
</context>
<context>
    <name>GLStatistics</name>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
    </message>
    <message>
        <source>Reset statistics</source>
        <translation>Réinitialiser les statistiques</translation>
    </message>
    <message>
        <source>Keep notes when hidden</source>
        <translation>Garder les notes quand la vue est masquée</translation>
    </message>
    <message>
        <source>Keep n values</source>
        <translation>Garder n valeurs</translation>
    </message>
    <message>
        <source>Keep this number of values in the computation of the statistics</source>
        <translation>Garder ce nombre de valeurs dans le calcul des statistiques</translation>
    </message>
    <message>
        <source>Show standard deviation</source>
        <translation>Afficher l’écart type</translation>
    </message>
    <message>
        <source>Scale auto</source>
        <translation>Échelle automatique</translation>
    </message>
    <message>
        <source>Scale min</source>
        <translation>Échelle min</translation>
    </message>
    <message>
        <source>Scale min value (in semi-tones)</source>
        <translation>Valeur minimale de l’échelle (en demi-tons)</translation>
    </message>
    <message>
        <source>Scale max</source>
        <translation>Échelle max</translation>
    </message>
    <message>
        <source>Scale max value (in semi-tones)</source>
        <translation>Valeur maximale de l’échelle (en demi-tons)</translation>
    </message>
    <message>
        <source>Show tolerance</source>
        <translation>Afficher la tolérance</translation>
    </message>
    <message>
        <source>Use cents</source>
        <translation>Utiliser les cents</translation>
    </message>
    <message>
        <source>Scale range</source>
        <translation>Étendue de l’échelle</translation>
    </message>
    <message>
        <source>Scale range (in cents)</source>
        <translation>Étendue de l’échelle (en cents)</translation>
    </message>
</context>
<context>
    <name>GLVolumeHistory</name>
    <message>
        <source>Volume history</source>
        <translation>Historique du volume</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>[dB]</source>
        <translation>[dB]</translation>
    </message>
</context>
<context>
    <name>InstrumentTunerForm</name>
    <message>
        <source>Orfeon</source>
        <translation>Orfeon</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Pause: the capture, the sound analysis and all views.</source>
        <translation>Pause : la capture, l’analyse du son et toutes les vues.</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Configurer</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Enregistrer les réglages</translation>
    </message>
    <message>
        <source>Save configuration panel settings, views settings and the window size.</source>
        <translation>Enregistre les réglages du panneau de configuration, ceux des vues et la taille de la fenêtre.</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Invoke the about box.</source>
        <translation>Ouvre la boîte « À propos ».</translation>
    </message>
    <message>
        <source>K
e
e
p</source>
        <translation>G
a
r
d
e
r</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>Keep the data in the error and volume views (shortcut &quot;k&quot;).</source>
        <translation>Garder les données dans les vues d’erreur et de volume (raccourci « k »).</translation>
    </message>
    <message>
        <source>Volume in dB.
Computed in the frequency domain, from the maximum bin.
The maximum is reached when the signal energy is maximal NOT when the sound is saturated in the time domain.</source>
        <translation>Volume en dB.
Calculé dans le domaine fréquentiel, à partir du plus grand coefficient.
Le maximum est atteint quand l’énergie du signal est maximale, PAS quand le son sature dans le domaine temporel.</translation>
    </message>
    <message>
        <source>Note Stability</source>
        <translation>Stabilité de la note</translation>
    </message>
    <message>
        <source>According to the following colors:
red       : the capture system is not working.
grey     : the capture system is OK, but there is not enough sound.
orange : the analysis conditions are bad (like saturation)
green   : a note is beeing analyzed and analysis conditions are OK.</source>
        <translation>Selon les couleurs suivantes :
rouge    : le système de capture ne fonctionne pas.
gris       : le système de capture fonctionne, mais le son est trop faible.
orange  : les conditions d’analyse sont mauvaises (saturation par exemple)
vert       : une note est analysée et les conditions d’analyse sont bonnes.</translation>
    </message>
    <message>
        <source>Tuning Frequency</source>
        <translation>Fréquence d’accord</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>The base tunning frequency (the A4 frequency)</source>
        <translation>La fréquence d’accord de base (la fréquence de A4)</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Décalage</translation>
    </message>
    <message>
        <source>Offset in cents from the base tuning frequency</source>
        <translation>Décalage en cents par rapport à la fréquence d’accord de base</translation>
    </message>
    <message>
        <source> cents</source>
        <translation> cents</translation>
    </message>
    <message>
        <source>The frequency of the current note in Hertz.</source>
        <translation>La fréquence de la note courante, en hertz.</translation>
    </message>
    <message>
        <source>The recognized note</source>
        <translation>La note reconnue</translation>
    </message>
    <message>
        <source>The target frequency of the current note in Hertz.</source>
        <translation>La fréquence visée pour la note courante, en hertz.</translation>
    </message>
    <message>
        <source>Views</source>
        <translation>Vues</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
</context>
<context>
    <name>MicrotonalView</name>
    <message>
        <source>Microtonal</source>
        <translation>Microtonal</translation>
    </message>
    <message>
        <source>Used scale</source>
        <translation>Gamme utilisée</translation>
    </message>
    <message>
        <source>Root&apos;s octave</source>
        <translation>Octave de la tonique</translation>
    </message>
    <message>
        <source>Keep root to left side</source>
        <translation>Garder la tonique à gauche</translation>
    </message>
    <message>
        <source>Load Scala file …</source>
        <translation>Charger un fichier Scala …</translation>
    </message>
    <message>
        <source>no tuning note selected</source>
        <translation>aucune note d’accord choisie</translation>
    </message>
    <message>
        <source>Open scale file</source>
        <translation>Ouvrir un fichier de gamme</translation>
    </message>
    <message>
        <source>Invalid file content !</source>
        <translation>Contenu de fichier invalide !</translation>
    </message>
    <message>
        <source>Scale name already exist</source>
        <translation>Ce nom de gamme existe déjà</translation>
    </message>
    <message>
        <source>Scala files (*.scl *.SCL)</source>
        <translation>Fichiers Scala (*.scl *.SCL)</translation>
    </message>
</context>
<context>
    <name>MicrotonalView::Scale</name>
    <message>
        <source>Unkown filename: &apos;</source>
        <translation>Nom de fichier inconnu : '</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>default</source>
        <translation>par défaut</translation>
    </message>
</context>
<context>
    <name>View</name>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
</context>
</TS>
