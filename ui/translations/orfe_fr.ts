<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutBox</name>
    <message>
        <source>&lt;h4&gt;Purpose&lt;/h4&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;i&gt;ORFE&lt;/i&gt; is a graphical utility for tuning your musical instruments, with error and volume history and advanced features. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Missing a feature, or found something that does not work as it should? Tell us on the &lt;a href=&quot;%1&quot;&gt;issue tracker&lt;/a&gt;; a short description of what you played, with which capture system, helps a lot.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h4&gt;Legal&lt;/h4&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;ORFE is free software, licensed under the GNU General Public License, version 3 or any later version: you may share it, change it and pass on your changes under that licence.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h4&gt;Disclaimer&lt;/h4&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;ORFE comes with no warranty of any kind, not even that it suits a particular use. Check important tunings by ear or with a second reference; the licence has the details.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About ORFE…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ORFE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;version&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&lt;h4&gt;Credits&lt;/h4&gt;&lt;p&gt;Sound analysis, capture, views and interface written for the Orfeon project.&lt;/p&gt;&lt;p&gt;Built on the Qt toolkit (The Qt Company and contributors), the FFTW library (Matteo Frigo and Steven G. Johnson) for the Fourier transforms, and the JACK Audio Connection Kit for low-latency capture.&lt;/p&gt;&lt;p&gt;Historical temperaments after the tables of Andreas Werckmeister and Johann Philipp Kirnberger; microtonal scales in the Scala file format of Manuel Op de Coul.&lt;/p&gt;&lt;p&gt;Translations: French by the Orfeon contributors.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chromatic</source>
        <translation>Chromatique</translation>
    </message>
    <message>
        <source>Werckmeister III</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kirnberger III</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected the capture system (e.g. JACK, ALSA, OSS, PortAudio)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto detect a working capture system at ORFE startup.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-detect an available capture system at startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto detect now</source>
        <translation>Détecter maintenant</translation>
    </message>
    <message>
        <source>JACK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client name</source>
        <translation>Nom du client</translation>
    </message>
    <message>
        <source>The name of this ORFE instance in the JACK connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>orfe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>automatically connect to…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically connect ORFE to the following source at startup (e.g. alsa_pcm:capture_1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JACK sampling rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling rate of the JACK server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling rate</source>
        <translation>Fréquence d’échantillonnage</translation>
    </message>
    <message>
        <source>The chosen sampling rate.
Do not use a too big sampling rate. 22050Hz should be enough in most cases.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set to max</source>
        <translation>au maximum</translation>
    </message>
    <message>
        <source>Set the sampling rate to the maximum possible value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not use a too big sampling rate. 22050Hz should be largely enough in most cases.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mix channels if there are multiple (if unchecked, the first channel will be used)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device name</source>
        <translation>Nom du périphérique</translation>
    </message>
    <message>
        <source>ALSA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name of the ALSA device to use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OSS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name of the OSS device to connect to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/dev/dsp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name of the PortAudio device to connect to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PortAudio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes range</source>
        <translation>Étendue des notes</translation>
    </message>
    <message>
        <source>Notes range filtering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter the sound below the lowest semitone and above the highest semitone to avoid artefacts and noises in all the following steps of the sound analysis.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rectangular filter: bad precision, but very fast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FIR filter: good precision, but more costly in CPU usage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Algorithm</source>
        <translation>Algorithme</translation>
    </message>
    <message>
        <source>Algorithm settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume threshold</source>
        <translation>Seuil de volume</translation>
    </message>
    <message>
        <source>Ignore all sounds with volume below this threshold [dB]
(Shown as a red line in various views)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window size factor</source>
        <translation>Facteur de taille de fenêtre</translation>
    </message>
    <message>
        <source>Factor defining the window size (from the lowest possible period defined by the notes range).
The bigger this factor, the more stable the analysis. However, by increasing this factor, ORFE will need more CPU and will react slower to sound changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use sub-harmonic audibility threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore weak sub-harmonics.
This threshold is defined between two neighbors frequency components.
Prevents underestimation errors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency refinement</source>
        <translation>Affinage de la fréquence</translation>
    </message>
    <message>
        <source>Frequency refinement settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum number of periods</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a refinement method in time domain: compute the mean of various period lengths (the option allows to chose the number of periods to use).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum number of harmonics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a refinement method in frequency domain: compute the mean of the quasi-harmonic related spectral peaks (the option allows to chose the number of harmonics to use).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency domain fundamental refinement:
mean of the fundamental relative frequencies of the harmonics.
Choose the number of harmonics to use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quantizer</source>
        <translation>Quantificateur</translation>
    </message>
    <message>
        <source>Quantizer settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latency</source>
        <translation>Latence</translation>
    </message>
    <message>
        <source>Quantize the analysis results: ignore frequency jumps, fill gaps, ignore short notes.
The smaller the value, the faster the tuner. However, by decreasing the value, the computed frequency will be more unstable.</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Use these settings and quit the configuration panel (it is required to click on the &quot;Save settings&quot; button to permanently keep these settings for each ORFE start)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Discard any changes and quit the configuration panel</source>
        <translation>Abandonne les modifications et ferme le panneau de configuration</translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can now restart ORFE to get back factory settings</source>
        <translation>Vous pouvez maintenant redémarrer ORFE pour retrouver les réglages d’usine</translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>K</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the data in the error and volume views (shortcut &quot;k&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume in dB.
Computed in the frequency domain, from the maximum bin.
The maximum is reached when the signal energy is maximal NOT when the sound is saturated in the time domain.</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tuning Frequency</source>
        <translation>Fréquence d’accord</translation>
    </message>
    <message>
        <source> Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The base tunning frequency (the A4 frequency)</source>
        <translation type="unfinished"></translation>
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
    <name>QObject</name>
    <message>
        <source>default</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
