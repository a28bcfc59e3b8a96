// Prints the facts Java's Kerberos configuration parser reads from java.security.krb5.conf.
import java.lang.reflect.Field;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Hashtable;
import java.util.List;
import java.util.Map;
import java.util.Vector;
import sun.security.krb5.Config;
import sun.security.krb5.Realm;
import sun.security.krb5.internal.crypto.EType;

public final class JavaConfigFacts {
    private JavaConfigFacts() {}

    // Java drops names it does not know or has disabled; every other written name must
    // come through, in order. Printed as written when it does, with what Java read otherwise.
    private static String enctypeFact(Config config, String tag, String written) throws Exception {
        List<Integer> supported = new ArrayList<>();
        for (String name : written.trim().split("[ ,]+")) {
            int type = Config.getType(name);
            if (type > 0 && EType.isSupported(type))
                supported.add(type);
        }
        List<Integer> read = new ArrayList<>();
        for (int type : config.defaultEtype(tag))
            read.add(type);
        if (read.equals(supported))
            return String.join(" ", written.trim().split("[ ,]+"));
        return "read by Java as " + read + " instead of " + supported;
    }

    @SuppressWarnings("unchecked")
    public static void main(String[] args) throws Exception {
        Config config = Config.getInstance();
        Field field = Config.class.getDeclaredField("stanzaTable");
        field.setAccessible(true);
        Hashtable<String, Object> stanzas = (Hashtable<String, Object>) field.get(config);
        for (String section : stanzas.keySet())
            System.out.println("section " + section);

        Hashtable<String, Object> libdefaults = (Hashtable<String, Object>) stanzas.getOrDefault("libdefaults", new Hashtable<>());
        for (Map.Entry<String, Object> relation : libdefaults.entrySet()) {
            String tag = relation.getKey();
            for (String value : (Vector<String>) relation.getValue()) {
                if (tag.equals("default_tgs_enctypes") || tag.equals("default_tkt_enctypes"))
                    value = enctypeFact(config, tag, value);
                else if (tag.equals("default_realm") && !value.equals(config.getDefaultRealm()))
                    value = "read by Java as " + config.getDefaultRealm();
                System.out.println("libdefaults " + tag + " " + value);
            }
        }

        Hashtable<String, Object> realms = (Hashtable<String, Object>) stanzas.getOrDefault("realms", new Hashtable<>());
        for (Map.Entry<String, Object> realm : realms.entrySet()) {
            StringBuilder fact = new StringBuilder("realm " + realm.getKey());
            Hashtable<String, Object> relations = (Hashtable<String, Object>) realm.getValue();
            for (Map.Entry<String, Object> relation : relations.entrySet()) {
                Vector<String> values = (Vector<String>) relation.getValue();
                fact.append(' ').append(relation.getKey()).append(' ').append(String.join(" ", values));
                if (relation.getKey().equals("kdc") && !String.join(" ", values).equals(config.getKDCList(realm.getKey())))
                    fact.append(" (Java's KDC list: ").append(config.getKDCList(realm.getKey())).append(')');
            }
            System.out.println(fact);
        }

        Hashtable<String, Object> domains = (Hashtable<String, Object>) stanzas.getOrDefault("domain_realm", new Hashtable<>());
        for (Map.Entry<String, Object> domain : domains.entrySet())
            for (String realm : (Vector<String>) domain.getValue())
                System.out.println("domain_realm " + domain.getKey() + " " + realm);

        Hashtable<String, Object> capaths = (Hashtable<String, Object>) stanzas.getOrDefault("capaths", new Hashtable<>());
        for (Map.Entry<String, Object> client : capaths.entrySet()) {
            Hashtable<String, Object> services = (Hashtable<String, Object>) client.getValue();
            for (Map.Entry<String, Object> service : services.entrySet()) {
                List<String> route = new ArrayList<>();
                route.add(client.getKey());
                route.addAll((Vector<String>) service.getValue());
                // The route Java's client would really take.
                List<String> taken = Arrays.asList(Realm.getRealmsList(client.getKey(), service.getKey()));
                String fact = "capaths " + client.getKey() + " " + service.getKey() + " "
                        + String.join(" ", route.subList(1, route.size()));
                System.out.println(taken.equals(route) ? fact : fact + " (Java takes " + taken + ")");
            }
        }
    }
}
